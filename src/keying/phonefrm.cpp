#include "keying/phonefrm.h"

#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/windowrules.h"
#include "platform/platform.h"
#include "platform/safefile.h"
#include "platform/widgets.h"

namespace fd {
namespace {

const char* const kLabel4 =
    "First, record and save your wave files.  You can use the Windows recorder by clicking Start>Programs> "
    "Accessories> Entertainment>Sound Recorder.";
const char* const kLabel6 =
    "Make sure the correct input is selected by clicking Edit>Audio Properties, click the microphone icon, and select "
    "the appropriate input (usually microphone or line in).  Then click Advanced Properties under the microphone icon "
    "and set your hardware acceleration to full and your sample conversion rate quality to best.  Record a wave file "
    "by clicking the red button.  For best recording quality with Sound Recorder, click File>Properties>Convert Now, "
    "and select CD Quality from the drop down list.  Then click OK.  Click File>Save, select a folder, give the file a "
    "name and save it.";
const char* const kLabel7 =
    "Connect the line-out of your sound card to the audio input of your transceiver.  Be VERY CAREFUL to start with "
    "your sound card's audio output on the lowest setting.  GRADUALLY increase the sound card's output while playing a "
    "wave file until your transceiver responds appropriately.  Overdriving your radio will cause a poor transmitted "
    "signal at best and the potential for permanent damage to your radio!  If you connect directly to the mic input of "
    "your radio, an interface may be required to prevent overdriving and/or damage.";
const char* const kLabel9 =
    "Each wave file corresponds to a function key.  Select the wave file you would like to associate with the function "
    "key. From the main logging page, key your transmitter and press the appropriate function key each time you wish "
    "to play a wave file.";
const char* const kLabel20 =
    "When playing the wave file, you can key your transmitter manually, use VOX, or an interface connected to your "
    "PC's serial or parallel (printer) port.  To use the serial port, please enter the valid comm setting (or 0 for "
    "none) and select whether you want to use the RTS or DTR line to key your radio.";

// A path must fit between double quotes in an 8-bit settings file.
int pathChar(int k) { return k == '"' ? 0 : k; }

}  // namespace

ClickLabel* helpLabel(QWidget* parent, TwipLayout& layout, const QString& text, double l, double t, double w, double h,
                      bool bold) {
  auto* lb = new ClickLabel(parent);
  lb->setText(text);
  lb->setWordWrap(true);
  lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lb->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, bold));
  layout.add(lb, ControlKind::Label, l, t, w, h, 8.25);
  return lb;
}

PhoneFrm::PhoneFrm(ProgramState& state, PhoneKeyer& k, QWidget* parent) : QDialog(parent), s(state), keyer(k) {
  setWindowTitle(QStringLiteral("Phone Wave Selections"));
  applyWindowRule(this, "PhoneFrm", [this] { Command1_Click(); });
  const QString sans = QStringLiteral("MS Sans Serif");
  auto label = [&](const QString& text, double l, double t, double w, double h, bool bold = false) {
    return helpLabel(this, layout, text, l, t, w, h, bold);
  };
  auto button = [&](const QString& text, double l, double t, double w, double h) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    b->setFont(designFont(sans, 8.25));
    layout.add(b, ControlKind::Button, l, t, w, h, 8.25);
    return b;
  };
  auto box = [&](double l, double t, double w, double h) {
    auto* b = new KeyBox(this);
    b->setFont(designFont(sans, 8.25));
    layout.add(b, ControlKind::TextBox, l, t, w, h, 8.25);
    return b;
  };

  label(QStringLiteral("Setup:"), 120, 60, 900, 240, true);
  label(QString::fromLatin1(kLabel4), 120, 300, 5400, 600);
  label(QString::fromLatin1(kLabel6), 120, 900, 5400, 2200);
  label(QString::fromLatin1(kLabel7), 120, 3100, 5400, 1800);
  label(QStringLiteral("To Use:"), 120, 4900, 900, 240, true);
  label(QString::fromLatin1(kLabel9), 120, 5140, 5400, 1000);
  label(QStringLiteral("Caution, RF feedback can damage your PC!"), 5700, 6060, 3780, 240, true);
  label(QStringLiteral("From the main form click Settings, Transmit, Select Mode, Phone."), 5700, 6360, 2300, 780);
  label(QString::fromLatin1(kLabel20), 120, 6140, 5400, 1000);

  for (int i = 0; i < 9; ++i) {
    const double top = 120 + i * 420;
    label(QStringLiteral("F%1").arg(i + 1), 5700, top + 40, 300, 240);
    Text[i] = box(6000, top, 2400, 315);
    Text[i]->charFilter = pathChar;
    Text[i]->onKeyPress = [](int& k) { k = pathChar(k); };
    connect(Text[i], &QLineEdit::textChanged, this, [this, i](const QString& t) {
      if (!showing_) keyer.settings.Text[static_cast<size_t>(i)] = t;
    });
    Browse[i] = button(QStringLiteral("Browse"), 8460, top, 900, 315);
    connect(Browse[i], &QPushButton::clicked, this, [this, i] { Browse_Click(i); });
  }

  Text10 = box(6000, 3960, 600, 315);
  connect(Text10, &QLineEdit::textChanged, this, [this](const QString& t) { if (!showing_) keyer.settings.Text10 = t; });
  Text10->onGotFocus = [this] { Text10->selectAll(); };
  Text10->onLostFocus = [this] { Text10_LostFocus(); };

  Frame1 = new QGroupBox(this);
  layout.add(Frame1, ControlKind::Frame, 6700, 3840, 2660, 600, 8.25);
  Option1 = new QRadioButton(QStringLiteral("RTS"), Frame1);
  Option2 = new QRadioButton(QStringLiteral("DTR"), Frame1);
  Option3 = new QRadioButton(QStringLiteral("Parallel"), Frame1);
  const std::array<QRadioButton*, 3> options{Option1, Option2, Option3};
  for (int i = 0; i < 3; ++i) {
    options[static_cast<size_t>(i)]->setFont(designFont(sans, 8.25));
    // Inside the frame, in the frame's own twips.
    layout.add(options[static_cast<size_t>(i)], ControlKind::Option, 100 + i * 800, 200, 800, 300, 8.25);
    connect(options[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on && !showing_) keyer.settings.option = i;
    });
  }
  Option1->setChecked(true);

  Text11 = box(6000, 4560, 1200, 315);
  Text11->charFilter = [](int k) { return k == '"' ? 0 : (k >= 'a' && k <= 'z') ? k - 32 : k; };
  Text11->onKeyPress = [this](int& k) { k = Text11->charFilter(k); };
  connect(Text11, &QLineEdit::textChanged, this, [this](const QString& t) { if (!showing_) keyer.settings.Text11 = t; });

  txtPHLoop = box(7320, 4560, 600, 315);
  txtPHLoop->charFilter = [](int k) { return (k == 8 || k == '.' || (k >= '0' && k <= '9')) ? k : 0; };
  txtPHLoop->onKeyPress = [this](int& k) { k = txtPHLoop->charFilter(k); };
  txtPHLoop->onLostFocus = [this] { txtPHLoop_LostFocus(); };
  connect(txtPHLoop, &QLineEdit::textChanged, this, [this](const QString& t) { if (!showing_) keyer.settings.txtPHLoop = t; });
  label(QStringLiteral("Loop (Sec)"), 8000, 4600, 1300, 240);

  Command11 = button(QStringLiteral("Test"), 6000, 5100, 1080, 375);
  label(QStringLiteral("Plays F1 Command"), 7200, 5160, 2100, 240);
  Command12 = button(QStringLiteral("Stop"), 6000, 5580, 1080, 375);
  Command12->hide();
  Command1 = button(QStringLiteral("Done"), 8160, 6480, 1200, 495);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
  connect(Command12, &QPushButton::clicked, this, [this] { Command12_Click(); });

  showSettings();
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
}

// The unload's close of the player is the keyer's (PhoneKeyer::unload), after PTT is released.
PhoneFrm::~PhoneFrm() = default;

void PhoneFrm::showSettings() {
  showing_ = true;
  const WaveSettings& w = keyer.settings;
  for (size_t i = 0; i < 9; ++i) Text[i]->setText(w.Text[i]);
  Text10->setText(w.Text10);
  if (w.option == WaveSettings::RTS) Option1->setChecked(true);
  if (w.option == WaveSettings::DTR) Option2->setChecked(true);
  if (w.option == WaveSettings::Parallel) Option3->setChecked(true);
  txtPHLoop->setText(w.txtPHLoop);
  Text11->setText(w.Text11);
  showing_ = false;
}

void PhoneFrm::Command1_Click() {
  // The leave check of the box that had the focus runs first (Esc leaves the
  // focus where it is; a click on Done moves it).
  if (QWidget* f = focusWidget()) {
    if (f == Text10) Text10_LostFocus();
    else if (f == txtPHLoop) txtPHLoop_LostFocus();
  }
  hide();
  const QString path = s.progFile(QStringLiteral("wave2.txt"));
  // A safe write: a failure leaves the old file whole, and the operator is told.
  const FileResult r = writeWholeFile(path, writeWave2(keyer.settings));
  if (!r.ok)
    dialogs().message(QStringLiteral("Unable to write file."),
                      QStringLiteral("The voice keyer settings could not be saved to %1: %2").arg(path, r.error),
                      Buttons::Ok);
}

void PhoneFrm::Browse_Click(int i) {
  const QString chosen = dialogs().openFile(QString(), QString(), QStringLiteral("(*.wav) (*.wav)"));
  if (chosen.isEmpty()) {
    dialogs().beep();
    return;
  }
  if (!fitsWave2(chosen)) {
    dialogs().beep();
    dialogs().message(QStringLiteral("Invalid file name."),
                      QStringLiteral("%1\r\n\r\nThis file name holds a double quote or a character the settings file "
                                     "cannot keep.  Please rename the file or choose another.")
                          .arg(chosen),
                      Buttons::Ok);
    return;
  }
  Text[static_cast<size_t>(i)]->setText(chosen);
  Command1->setFocus();
}

void PhoneFrm::Command11_Click() {
  keyer.FKeyPhone(112);
  if (isVisible()) Command1->setFocus();
  if (s.PhoneRepeat == 1) Command12->show();
}

void PhoneFrm::Command12_Click() {
  keyer.stopRepeat();
  Command12->hide();
}

void PhoneFrm::Text10_LostFocus() {
  if (!boxValue(Text10->text())) Text10->setText(QStringLiteral("0"));
  keyer.PhoneSetup();
}

void PhoneFrm::txtPHLoop_LostFocus() {
  QString t = txtPHLoop->text();
  bool beep = false;
  keyer.setRepeatMs(checkLoopBox(t, &beep));
  if (t != txtPHLoop->text()) txtPHLoop->setText(t);
  if (beep) dialogs().beep();
}

}  // namespace fd
