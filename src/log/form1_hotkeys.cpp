#include "log/form1.h"

namespace fd {

void Form1::Form_KeyDown(int&, int&) {}
void Form1::Form_KeyPress(int&) {}

}  // namespace fd
