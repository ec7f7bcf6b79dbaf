#include "log/form1.h"

namespace fd {

void Form1::Form_Load() {}
void Form1::Form_Activate() {}
bool Form1::Form_QueryUnload() { return false; }
void Form1::Form_Unload() {}
void Form1::Form_Terminate() {}
void Form1::ApplyStationID() {}
void Form1::mnuSetup_Click() {}
void Form1::CheckUtcOffset() {}

}  // namespace fd
