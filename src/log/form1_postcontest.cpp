#include "log/form1.h"

namespace fd {

void Form1::mnuPostContest_Click() {}
void Form1::txtPostConDate_GotFocus() {}
void Form1::txtPostConTime_GotFocus() {}
void Form1::txtPostConDate_KeyPress(int&) {}
void Form1::txtPostConTime_KeyPress(int&) {}
bool Form1::postContestMode() const { return false; }

}  // namespace fd
