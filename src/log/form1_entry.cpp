#include "log/form1.h"

namespace fd {

void Form1::Capital(int&) {}
void Form1::number(int&) {}
void Form1::txtCall_KeyPress(int&) {}
void Form1::txtCK_KeyPress(int&) {}
void Form1::txtSec_KeyPress(int&) {}
void Form1::txtCall_Change() {}
void Form1::txtCall_GotFocus() {}
void Form1::txtCall_LostFocus() {}
void Form1::txtCK_GotFocus() {}
void Form1::txtCK_LostFocus() {}
void Form1::txtSec_GotFocus() {}
void Form1::cmdClear_Click() {}
void Form1::sendTab() {}
void Form1::connectEntry() {}

}  // namespace fd
