#include "log/form1.h"

namespace fd {

void Form1::cmdEdit_Click() {}
void Form1::cmdDelete_Click() {}
void Form1::cmdFind_Click() {}
void Form1::mnuOperator_Click() {}
int Form1::selectedRecord() const { return 0; }

}  // namespace fd
