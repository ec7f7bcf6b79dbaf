#include "log/form1.h"

namespace fd {

void Form1::Timer1_Timer() {}
void Form1::Timer2_Timer() {}
void Form1::TimeStats() {}
void Form1::DupeHoldDelay(int&) {}

}  // namespace fd
