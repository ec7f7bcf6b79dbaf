#include "log/frmfind.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTreeWidget>

#include "log/findcall.h"
#include "log/keyrules.h"
#include "platform/platform.h"
#include "core/windowrules.h"

namespace fd {

namespace {
void capital(int& keyAscii) { keyAscii = keyrules::capital(keyAscii); }
}  // namespace

frmFind::frmFind(const ProgramState& state, QTreeWidget* list, QWidget* parent)
    : QDialog(parent), s_(state), list_(list) {
  setWindowTitle(QStringLiteral("Find a Call"));
  applyWindowRule(this, "frmFind");
  layout.width = 4200;
  layout.height = 1245;
  layout.fontSize = 8.25;
  const QString sans = QStringLiteral("Arial");  // metric-compatible substitutes exist, so captions fit

  Label1 = new ClickLabel(this);
  Label1->setText(QStringLiteral("Please enter the call that you would like to find:"));
  Label1->setFont(designFont(sans, 8.25));
  Text1 = new KeyBox(this);
  Text1->setFont(designFont(sans, 8.25));
  Text1->onKeyPress = [this](int& k) { Text1_KeyPress(k); };
  Text1->charFilter = [](int code) { capital(code); return code; };
  Check1 = new QCheckBox(QStringLiteral("Include partial matches"), this);
  Check1->setFont(designFont(sans, 8.25));
  Check1->setChecked(true);
  Command1 = new QPushButton(QStringLiteral("&Find"), this);
  Command1->setFont(designFont(sans, 8.25));
  Command1->setAutoDefault(false);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  // Control order: the box first, so it has the focus when the window opens.
  layout.add(Text1, ControlKind::TextBox, 120, 360, 2520, 315, 8.25);
  layout.add(Label1, ControlKind::Label, 120, 60, 3960, 255, 8.25);
  layout.add(Check1, ControlKind::CheckBox, 120, 780, 2520, 315, 8.25);
  layout.add(Command1, ControlKind::Button, 2880, 360, 1080, 375, 8.25);
  setTabOrder(Text1, Check1);
  setTabOrder(Check1, Command1);
  Form_Load();
}

void frmFind::Form_Load() {
  ResizeFormByWidth(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Text1->setFocus();
}

void frmFind::Text1_KeyPress(int& keyAscii) {
  if (keyAscii == 13) {
    keyAscii = 0;
    Command1_Click();
  }
  capital(keyAscii);
}

void frmFind::Command1_Click() {
  if (list_) {
    list_->clear();
    const std::vector<int> found = findcall::matches(s_.Log, Text1->text(), Check1->isChecked());
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(found.size()));
    for (int i : found) rows.append(new TextItem(listRowTexts(s_.Log, i)));
    list_->addTopLevelItems(rows);  // one insertion: a whole log of matches stays quick
  }
  hide();
}

}  // namespace fd
