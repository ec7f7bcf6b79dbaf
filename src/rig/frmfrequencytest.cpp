#include "rig/frmfrequencytest.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/windowrules.h"
#include "platform/platform.h"
#include "rig/catparse.h"
#include "rig/rigcontrolfrm.h"

namespace fd {

frmFrequencyTest::frmFrequencyTest(RigControlfrm& rig, QWidget* parent) : QDialog(parent), rig_(rig) {
  setWindowTitle(QStringLiteral("Test Change Frequency Function"));
  applyWindowRule(this, "frmFrequencyTest");
  layout.width = 6000;
  layout.height = 4600;
  // The help texts take the room their lines need at the window's font.
  auto label = [&](const QString& t, double top, double h) {
    auto* x = new QLabel(t, this);
    x->setWordWrap(true);
    layout.add(x, ControlKind::Label, 120, top, 5700, h, 8.25);
    return x;
  };
  Label1 = label(QStringLiteral("Please use the text box below to enter a complete command to send to your radio.  "
                                "The default example is the command used for Kenwood radios."), 120, 600);
  Label2 = label(QStringLiteral("If your radio requires a hexidecimal format, please enter in the format of XX XX XX "
                                "(using spaces between each two digits) and click the Convert to Hex check box "
                                "below."), 780, 600);
  Label3 = label(QStringLiteral("Once you have a working command, please e-mail me the exact command and the "
                                "frequency (in Mhz) specified in the command."), 1440, 420);
  Text1 = new QLineEdit(QStringLiteral("FA00028475000;"), this);
  layout.add(Text1, ControlKind::TextBox, 120, 1980, 3600, 315, 8.25);
  Command1 = new QPushButton(QStringLiteral("Send"), this);
  Command1->setAutoDefault(false);
  layout.add(Command1, ControlKind::Button, 3900, 1960, 1200, 360, 8.25);
  Check1 = new QCheckBox(QStringLiteral("Convert to Hex"), this);
  layout.add(Check1, ControlKind::CheckBox, 120, 2400, 2400, 255, 8.25);
  Line1 = new QFrame(this);
  Line1->setFrameShape(QFrame::HLine);
  layout.add(Line1, ControlKind::Line, 120, 2760, 5700, 30);
  Label4 = label(QStringLiteral("Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported. For any supported "
                                "radio, you should be able to enter a frequency in Mhz, click send and your radio "
                                "should switch to the specified frequency."), 2880, 800);
  Text2 = new QLineEdit(this);
  layout.add(Text2, ControlKind::TextBox, 120, 3780, 3600, 315, 8.25);
  Command2 = new QPushButton(QStringLiteral("Send"), this);
  Command2->setAutoDefault(false);
  layout.add(Command2, ControlKind::Button, 3900, 3760, 1200, 360, 8.25);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  Form_Load();
}

void frmFrequencyTest::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Text2->setText(QStringLiteral("28.475"));
}

void frmFrequencyTest::ConvertHexText(const QString& hexText, QByteArray& result) {
  result = cat::HexTextToBytes(hexText);
}

void frmFrequencyTest::Command1_Click() {
  if (rig_.commandBusy() || !rig_.comComm1->isOpen()) return;  // one radio command at a time
  const QString text = Text1->text().trimmed();
  QByteArray bytes;
  if (Check1->isChecked()) ConvertHexText(text, bytes);
  else bytes = text.toLatin1();
  if (!bytes.isEmpty()) rig_.comComm1->output(bytes);
}

void frmFrequencyTest::Command2_Click() {
  bool ok = false;
  const float mhz = Text2->text().trimmed().toFloat(&ok);
  if (ok) rig_.ChangeFrequency(mhz);
}

}  // namespace fd
