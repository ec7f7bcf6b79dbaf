#include "log/form1.h"

namespace fd {

void Form1::buildMenus() {}
void Form1::updateMenuAvailability() {}
void Form1::mnuNew_Click() {}
void Form1::mnuExit_Click() {}
void Form1::mnuHelp_Click() {}
void Form1::mnuWriteSumm_Click() {}
void Form1::mnuZell_Click() {}
void Form1::mnuDXSpotting_Click() {}
void Form1::murigInterface_Click() {}
void Form1::mnuPrivileges_Click() {}

}  // namespace fd
