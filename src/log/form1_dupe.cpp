#include "log/form1.h"

namespace fd {

void Form1::dupcheck() {}
void Form1::PartialCheck(int&) {}
void Form1::cmdDup_Click() {}

}  // namespace fd
