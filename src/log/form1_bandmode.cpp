#include "log/form1.h"

namespace fd {

void Form1::BandCommand(int) {}
void Form1::ModeCommand(const QString&) {}
void Form1::Label30_MouseDown(int) {}
void Form1::Label12_Click() {}

}  // namespace fd
