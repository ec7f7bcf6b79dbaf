#include "log/form1.h"

namespace fd {

void Form1::Label10_Click(int) {}
void Form1::Label10_MouseMove(int) {}
void Form1::Form_MouseMove() {}
void Form1::mnuColors_Click() {}

}  // namespace fd
