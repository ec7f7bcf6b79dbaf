#include "log/frmoperator.h"

#include <QPushButton>

#include "platform/platform.h"
#include "log/keyrules.h"
#include "core/windowrules.h"

namespace fd {

frmOperator::frmOperator(ProgramState& state, QWidget* parent) : QDialog(parent), s_(state) {
  setWindowTitle(QStringLiteral("Change Operator"));
  applyWindowRule(this, "frmOperator");  // Esc as the close box: the initials stay
  layout.width = 2250;
  layout.height = 1320;
  layout.fontSize = 8.25;
  const QString sans = QStringLiteral("Arial");  // metric-compatible substitutes exist, so captions fit

  Text1 = new KeyBox(this);
  Text1->setMaxLength(10);
  Text1->setFont(designFont(sans, 8.25));
  Text1->onKeyPress = [this](int& k) { Text1_KeyPress(k); };
  // Initials stand between double quotes in fdlog.dat and fdpref.dat with
  // nothing escaped: pasted text loses the quotes typing cannot enter.
  Text1->charFilter = [](int code) { return initialsChar(code); };
  Label1 = new ClickLabel(this);
  Label1->setText(QStringLiteral("Please enter your initials:"));
  Label1->setFont(designFont(sans, 8.25));
  Command1 = new QPushButton(QStringLiteral("&Done"), this);
  Command1->setFont(designFont(sans, 8.25));
  Command1->setAutoDefault(false);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  layout.add(Text1, ControlKind::TextBox, 120, 420, 2010, 315, 8.25);
  layout.add(Label1, ControlKind::Label, 120, 100, 2010, 255, 8.25);
  layout.add(Command1, ControlKind::Button, 600, 840, 1050, 375, 8.25);
  setTabOrder(Text1, Command1);
  Form_Load();
}

void frmOperator::Form_Load() {
  ResizeFormByWidth(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Text1->setText(s_.OpInitials);
  Text1->selectAllText();  // typing replaces the old initials
  Text1->setFocus();
}

int frmOperator::initialsChar(int keyAscii) {
  if (keyAscii == 39) return 0;
  return keyrules::capital(keyAscii);
}

void frmOperator::Text1_KeyPress(int& keyAscii) {
  if (keyAscii == 13) {
    keyAscii = 0;
    Command1_Click();
  }
  keyAscii = initialsChar(keyAscii);
}

void frmOperator::Command1_Click() {
  s_.OpInitials = Text1->text();
  hide();
}

}  // namespace fd
