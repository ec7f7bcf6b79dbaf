#include "keying/blindfrm.h"

#include "core/windowrules.h"
#include "keying/phonefrm.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "platform/platform.h"
#include "platform/widgets.h"

namespace fd {

BlindFrm::BlindFrm(ProgramState& state, VoiceNav& n, QWidget* parent) : QDialog(parent), s(state), nav(n) {
  setWindowTitle(QStringLiteral("Voice Navigation Settings"));
  applyWindowRule(this, "BlindFrm");  // Esc as the close box: the mode stays
  const QString sans = QStringLiteral("MS Sans Serif");
  auto label = [&](const QString& text, double l, double t, double w, double h, bool bold = false) {
    return helpLabel(this, layout, text, l, t, w, h, bold);
  };
  label(QStringLiteral("Background:"), 240, 180, 1500, 255, true);
  label(QStringLiteral("Voice navigation speaks the name of the entry field that takes the cursor, and warns of a "
                       "duplicate, so that an operator who cannot see the screen knows where typing goes."),
        1800, 180, 7500, 720);
  label(QStringLiteral("Additional suggestions and ideas for supporting visually impaired hams are welcome and "
                       "appreciated."),
        240, 1020, 9000, 480);
  label(QStringLiteral("To Enable Voice Navigation:"), 240, 1620, 3000, 255, true);
  Label7 = label(QString(), 240, 1920, 9000, 480);
  Label20 = label(QStringLiteral("The navigation audio wave files must be added to the working directory of this "
                                 "program.  A spoken set (Call, Class, Section, Dupe, NavEn and NavDis) comes with "
                                 "the program in its \"prompts\" folder: copy them into the working directory to use "
                                 "them, or put your own recordings of the same names there in their place."),
                  240, 2460, 9000, 960);
  label(QStringLiteral("Choose one of the options below.  Select Off to turn the navigation function off, Call to "
                       "indicate the Call field only and All Data Fields to provide verbal prompts through all the "
                       "data fields."),
        240, 3540, 9000, 720);

  Frame1 = new QGroupBox(QStringLiteral("Choose your preferred option:"), this);
  Frame1->setFont(designFont(sans, 8.25));
  layout.add(Frame1, ControlKind::Frame, 2400, 4380, 4800, 1560, 8.25);
  Option1 = new QRadioButton(QStringLiteral("Off"), Frame1);
  Option2 = new QRadioButton(QStringLiteral("Call Only"), Frame1);
  Option3 = new QRadioButton(QStringLiteral("All Data Fields"), Frame1);
  const std::array<QRadioButton*, 3> options{Option1, Option2, Option3};
  for (int i = 0; i < 3; ++i) {
    QRadioButton* o = options[static_cast<size_t>(i)];
    o->setFont(designFont(sans, 8.25));
    layout.add(o, ControlKind::Option, 240, 330 + i * 390, 3000, 300, 8.25);  // in the frame's twips
    connect(o, &QRadioButton::clicked, this, [this, i] { nav.optionClick(i + 1); });
  }
  Command1 = new QPushButton(QStringLiteral("Done"), this);
  Command1->setAutoDefault(false);
  Command1->setFont(designFont(sans, 8.25));
  layout.add(Command1, ControlKind::Button, 4080, 6180, 1440, 495, 8.25);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  Form_Load();
}

BlindFrm::~BlindFrm() { Form_Unload(); }

void BlindFrm::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  nav.close();
}

void BlindFrm::closeEvent(QCloseEvent* e) {
  QDialog::closeEvent(e);
  if (!e->isAccepted()) return;
  // Now, not when the window is deleted: a window loaded again meanwhile
  // must keep its own announcement.
  Form_Unload();
  if (onClosed) onClosed();
}

void BlindFrm::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Label7->setText(QStringLiteral("Put the audio wave files in this program's working directory: ") + s.ProgDir);
  nav.tickCurrentMode();
  showTicked();
}

void BlindFrm::showTicked() {
  const std::array<QRadioButton*, 3> options{Option1, Option2, Option3};
  for (QRadioButton* o : options) o->setAutoExclusive(false);
  for (int i = 0; i < 3; ++i) options[static_cast<size_t>(i)]->setChecked(nav.ticked == i + 1);
  for (QRadioButton* o : options) o->setAutoExclusive(true);
}

void BlindFrm::Command1_Click() {
  // The options as they stand (arrow keys move the tick as clicks do).
  nav.ticked = Option2->isChecked() ? 2 : Option3->isChecked() ? 3 : Option1->isChecked() ? 1 : 0;
  hide();
  nav.done();
}

}  // namespace fd
