#include "log/form1.h"

namespace fd {

void Form1::Mains() {}
void Form1::frmcmp() {}
void Form1::CheckSection() {}
void Form1::MarkSectionWorked() {}

}  // namespace fd
