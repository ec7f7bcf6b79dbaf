#include "log/form1.h"

namespace fd {

void Form1::FillList() {}
void Form1::cmdList_Click() {}
void Form1::ListView1_Click() {}
void Form1::ListView1_ColumnClick(int) {}
void Form1::ListView1_MouseUp(int) {}
void Form1::mnuCopyListtoClipboard_Click() {}
void Form1::mnuListPrevious_Click() {}
void Form1::addListRow(int, bool) {}

}  // namespace fd
