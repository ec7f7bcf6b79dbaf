#include "output/combine_window.h"

#include <QGuiApplication>
#include <QPushButton>

#include "core/windowrules.h"
#include "output/savecommand.h"
#include "platform/platform.h"

namespace fd {

Form3::Form3(ProgramState& state, std::function<bool(const QString&, bool)> append, QWidget* parent)
    : QDialog(parent), s_(state), append_(std::move(append)) {
  setWindowTitle(QStringLiteral("Append Data or Restore From Backup"));
  applyWindowRule(this, "Form3");
  layout.width = 6000;
  layout.height = 3360;
  const QString sans = QStringLiteral("MS Sans Serif");
  auto label = [&](const QString& text, double t, double h) {
    auto* lb = new ClickLabel(this);
    lb->setText(text);
    lb->setWordWrap(true);
    lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lb->setFont(designFont(sans, 8.25));
    layout.add(lb, ControlKind::Label, 120, t, 5760, h, 8.25);
    return lb;
  };
  auto button = [&](const QString& text, double l, double t) {
    auto* b = new QPushButton(text, this);
    b->setFont(designFont(sans, 8.25));
    b->setAutoDefault(false);
    layout.add(b, ControlKind::Button, l, t, 1215, 375, 8.25);
    return b;
  };

  Label1 = label(QStringLiteral("Enter path and file to append to your primary file:"), 120, 255);
  Text1 = new KeyBox(this);
  Text1->setFont(designFont(sans, 8.25));
  layout.add(Text1, ControlKind::TextBox, 120, 420, 4455, 315, 8.25);
  Command3 = button(QStringLiteral("Browse"), 4665, 390);
  Command2 = button(QStringLiteral("Append"), 120, 900);
  Check1 = new QCheckBox(QStringLiteral("Eliminate Duplicates from imported file"), this);
  Check1->setFont(designFont(sans, 8.25));
  layout.add(Check1, ControlKind::CheckBox, 1500, 960, 3000, 255, 8.25);
  Command1 = button(QStringLiteral("Done"), 4665, 900);
  Label2 = label(QStringLiteral("This function appends (adds) records to your existing primary data file.  Once "
                                "initiated, it can not be undone.  Log files (.dat) and backups written by this "
                                "program, or an ADIF file (.adi), can be appended."),
                 1440, 615);
  Label4 = label(QStringLiteral("Be very careful!  Improper use of this function will render your database unuseable!"),
                 2160, 435);
  Label3 = label(QStringLiteral("If you wish to clear your primary data file before proceeding, first exit this form "
                                "and click New from the File menu."),
                 2700, 435);

  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
  setTabOrder(Text1, Command3);
  setTabOrder(Command3, Command2);
  setTabOrder(Command2, Check1);
  setTabOrder(Check1, Command1);
  Form_Load();
}

void Form3::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Check1->setChecked(true);
  Text1->setFocus();
}

void Form3::Command1_Click() { hide(); }

void Form3::Command3_Click() {
  const QString name =
      dialogs().openFile(QStringLiteral("Open"), s_.FieldDayDir, qtFileFilter(QStringLiteral("*.DAT, *.ADI")));
  if (name.isEmpty()) {
    dialogs().beep();
    return;
  }
  Text1->setText(name);
  Command2->setFocus();
}

void Form3::Check1_Click() {
  if (Check1->isChecked()) return;
  const Answer a = dialogs().message(QStringLiteral("Are you sure"),
                                     QStringLiteral("Are you sure?  Once imported, duplicates can only be removed "
                                                    "manually and will not be identified by the program."),
                                     Buttons::YesNo);
  if (a != Answer::Yes) {
    Check1->setChecked(true);
    Check1->setFocus();
  }
}

void Form3::Command2_Click() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  struct Restore {
    ~Restore() { QGuiApplication::restoreOverrideCursor(); }
  } restore;
  append_(Text1->text(), Check1->isChecked());
  Command1->setFocus();
}

}  // namespace fd
