#include "keying/cwfrm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/windowrules.h"
#include "keying/formparts.h"
#include <QRadioButton>

#include "core/state.h"
#include "keying/cwkeyer.h"
#include "keying/cwsettings.h"
#include "platform/numtext.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/safefile.h"
#include "platform/wait.h"

namespace fd {

const QString kCWFrmCaption = QStringLiteral("CW String Selections");

namespace {

const QString kSans = QStringLiteral("MS Sans Serif");

// Digits and ":" with Backspace (the port and speed boxes).
void portKeys(int& k) {
  if (k != 8 && (k < 48 || k > 58)) k = 0;
}

}  // namespace

CWFrm::CWFrm(CWKeyer& keyer, ProgramState& state, MainWindow* main, QWidget* parent)
    : QDialog(parent), k_(keyer), s_(state), main_(main) {
  setWindowTitle(kCWFrmCaption);
  // No close box; where a window manager draws one anyway it runs Done.
  applyWindowRule(this, "CWFrm", handlers_.guard([this] { Command1_Click(); }));
  setFont(designFont(kSans, 8.25));

  auto label = [&](const QString& text, double l, double t, double w, double h, double pt = 8.25) {
    return formparts::label(this, layout, text, l, t, w, h, pt);
  };
  auto box = [&](double l, double t, double w) {
    auto* b = new KeyBox(this);
    layout.add(b, ControlKind::TextBox, l, t, w, 285, 8.25);
    return b;
  };
  auto button = [&](const QString& text, double l, double t, double w) {
    return formparts::button(this, layout, text, l, t, w);
  };
  auto option = [&](const QString& text, double l, double t, double w) {
    auto* o = new QRadioButton(text, this);
    layout.add(o, ControlKind::Option, l, t, w, 285, 8.25);
    return o;
  };

  // The message rows F1 to F11; F12 switches keyboard sending.
  const int rowBox[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 0};
  for (int i = 0; i < 12; ++i) {
    const double top = 120 + i * 330;
    label(QStringLiteral("F%1").arg(i + 1), 120, top + 30, 480, 255);
    if (rowBox[i] == 0) label(QStringLiteral("Keyboard"), 600, top + 30, 2000, 255);
    else Text[rowBox[i]] = box(600, top, 4200);
  }

  label(QStringLiteral("Serial"), 5000, 150, 700, 255);
  Text[10] = box(5700, 120, 600);
  Text[10]->setToolTip(QStringLiteral("Make sure you select the specific port that the interface is attached to."));
  label(QStringLiteral("Parallel"), 6450, 150, 750, 255);
  Text[14] = box(7200, 120, 900);
  label(QStringLiteral("WPM"), 5000, 570, 700, 255);
  Text[11] = box(5700, 540, 600);
  Command2 = button(QStringLiteral("Faster"), 6450, 495, 900);
  Command3 = button(QStringLiteral("Slower"), 7450, 495, 900);
  label(QStringLiteral("Word Space"), 5000, 990, 1000, 255);
  txtSpace = box(6000, 960, 400);
  Command5 = button(QStringLiteral("Less"), 6450, 915, 900);
  Command6 = button(QStringLiteral("More"), 7450, 915, 900);
  label(QStringLiteral("Loop (Sec)"), 5000, 1410, 1000, 255);
  txtCWLoop = box(6000, 1380, 400);
  Check1 = new QCheckBox(QStringLiteral("Display CW text on main form (NA for WinKey)."), this);
  layout.add(Check1, ControlKind::CheckBox, 5000, 1800, 4480, 285, 8.25);

  Frame1 = new QGroupBox(QStringLiteral("Keying Options"), this);
  layout.add(Frame1, ControlKind::Frame, 5000, 2160, 2100, 1740, 8.25);
  Option1 = option(QStringLiteral("RTS"), 5150, 2420, 1800);
  Option2 = option(QStringLiteral("DTR"), 5150, 2720, 1800);
  Option3 = option(QStringLiteral("Printer"), 5150, 3020, 1800);
  Option4 = option(QStringLiteral("None"), 5150, 3320, 1800);
  Option5 = option(QStringLiteral("WinKey"), 5150, 3600, 1800);
  cmdConfWinkey = button(QStringLiteral("Configure Winkey"), 5000, 3960, 2100);
  cmdConfWinkey->setVisible(false);
  auto* lines = new QButtonGroup(this);
  int id = 0;
  for (QRadioButton* o : {Option1, Option2, Option3, Option4, Option5}) lines->addButton(o, id++);

  optTimer = option(QStringLiteral("Timer"), 7300, 2200, 1500);
  optLoop = option(QStringLiteral("Loop"), 7300, 2500, 1500);
  OptSleep = option(QStringLiteral("Sleep"), 7300, 2800, 1500);
  auto* timing = new QButtonGroup(this);
  for (QRadioButton* o : {optTimer, optLoop, OptSleep}) timing->addButton(o);
  lblLoop = label(QStringLiteral("Loop Delay"), 7300, 3180, 1000, 255);
  txtLoop = box(8300, 3150, 1180);
  txtLoop->setToolTip(QStringLiteral("Loops per 60 ms"));
  cmdLoopFaster = button(QStringLiteral("Speed up CW"), 7300, 3520, 1080);
  cmdLoopFaster->setToolTip(QStringLiteral("Speed up CW"));
  cmdLoopSlower = button(QStringLiteral("Slow Down CW"), 8400, 3520, 1080);
  cmdLoopSlower->setToolTip(QStringLiteral("Slow Down CW"));

  Command4 = button(QStringLiteral("&Test"), 7300, 4000, 1000);
  Label23 = label(QStringLiteral("Sending!"), 8400, 4060, 1080, 255);
  Label23->setVisible(false);
  Command7 = button(QStringLiteral("Send Code Practice"), 5000, 4480, 2100);
  Command1 = button(QStringLiteral("Done"), 7300, 4480, 2180);

  label(QStringLiteral("Prosigns"), 120, 4140, 900, 255);
  const char* prosigns[] = {"[  AR", "\\  CL", "]  SK", ";  KN", "=  BT"};
  for (int i = 0; i < 5; ++i) label(QString::fromLatin1(prosigns[i]), 1100 + i * 700, 4140, 650, 255);
  label(QStringLiteral("Wildcards are $ for Call, * for RST  and # for Number (where applicable)."), 120, 4440, 4800,
        255);
  label(QStringLiteral("Up / Down arrows on main form change speed."), 120, 4740, 3300, 255);
  label(QStringLiteral("You must be in CW mode."), 3450, 4740, 1500, 255);
  label(QStringLiteral("Setup:"), 120, 5040, 700, 255, 8.25)->setFont(designFont(kSans, 8.25, true));
  label(QStringLiteral("You need an interface from the computer's serial or parallel port to the transmitter's key "
                       "line.  Choose the line it uses in the Keying Options box."),
        900, 5040, 4000, 380, 6.75);
  label(QStringLiteral("If you are using a serial port, tell the program which com port to use.  The program will only "
                       "let you leave this field if a valid com port is selected, or if a value of 0 is entered "
                       "(indicating that a com port has not been selected).  If you are using a parallel port, enter "
                       "the Hex address of the port. &H378 is the default on most systems for LPT1."),
        120, 5460, 4780, 820, 6.75);
  label(QStringLiteral("Now that the interface is hooked up, and you have either identified the serial com port or "
                       "entered the LPT1 address for the printer port, you can test the setup.  Press the test command "
                       "button to send the text in the F9 text box.  The program will not generate a side tone so make "
                       "sure your transceiver is set to produce one.  Also, make sure you are on a clear frequency "
                       "because if all goes well, you will be transmitting."),
        120, 6300, 4780, 860, 6.75);
  label(QStringLiteral("To Use:"), 5000, 5040, 900, 255)->setFont(designFont(kSans, 8.25, true));
  label(QStringLiteral("Finally, enter the WPM code speed and any adjustments to the standard word spacing (0 is "
                       "standard, -8 is no spacing).  You can adjust your speed on the main form by using the Up / "
                       "Down arrows. Check the check box if you would like to see the characters you are sending on "
                       "the main form.  For the most precise timing, do not run any other programs, virus software "
                       "etc. while transmitting."),
        5000, 5300, 4480, 960, 6.75);
  label(QStringLiteral("Each text box corresponds to a function key.  Enter the characters you would like to associate "
                       "with the function key. From the main logging page, press the appropriate function key each "
                       "time you wish to send the string.  A ! in the string enters the contact."),
        5000, 6300, 4480, 860, 6.75);
  Frame1->lower();

  // The keyer's windows fit the work area; fonts grow by at most half.
  ResizeFormCapped(layout, display().workWidthTwips(), display().workHeightTwips(), 1.5);
  layout.apply(this, display().twipsPerPixel());

  // Boxes stored in cw.txt: no double quote, nothing the 8-bit table cannot hold.
  auto textFilter = [](bool upper) {
    return [upper](int k) {
      if (k > 0 && refusedInCwText(QChar(k))) return 0;
      if (upper) CWKeyer::CheckCWKey(k);
      return k;
    };
  };
  for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13}) {
    KeyBox* b = Text[i];
    b->charFilter = textFilter(true);
    b->onKeyPress = [f = textFilter(true)](int& k) { k = f(k); };
    b->onChange = [this, b, i] { if (!filling_) k_.set.Text[i] = b->text(); };
  }
  Text[14]->charFilter = textFilter(false);
  Text[14]->onKeyPress = [f = textFilter(false)](int& k) { k = f(k); };
  Text[14]->onChange = [this] { if (!filling_) k_.set.Text[14] = Text[14]->text(); };
  for (int i : {10, 11}) {
    KeyBox* b = Text[i];
    b->onKeyPress = portKeys;
    b->charFilter = [](int k) { portKeys(k); return k; };
    b->onGotFocus = [b] { b->selectAllText(); };
  }
  Text[10]->onChange = [this] { if (!filling_) k_.set.Text[10] = Text[10]->text(); };
  Text[10]->onLostFocus = handlers_.guard([this] { Text10_LostFocus(); });
  Text[11]->onChange = [this] {
    if (filling_) return;
    k_.set.Text[11] = Text[11]->text();
    k_.Text11_Change();
  };
  Text[11]->onLostFocus = [this] { Text11_LostFocus(); };
  auto spaceKeys = [](int& k) { if (k != 8 && (k < 45 || k > 58)) k = 0; };
  txtSpace->onKeyPress = spaceKeys;
  txtSpace->charFilter = [spaceKeys](int k) { spaceKeys(k); return k; };
  txtSpace->onChange = [this] { txtSpace_Change(); };
  txtSpace->onLostFocus = [this] { txtSpace_LostFocus(); };
  auto loopKeys = [](int& k) { if (k != 8 && k != '.' && (k < '0' || k > '9')) k = 0; };
  txtCWLoop->onKeyPress = loopKeys;
  txtCWLoop->charFilter = [loopKeys](int k) { loopKeys(k); return k; };
  txtCWLoop->onChange = [this] { if (!filling_) k_.set.txtCWLoop = txtCWLoop->text(); };
  txtCWLoop->onLostFocus = [this] { txtCWLoop_LostFocus(); };
  txtLoop->onChange = [this] {
    // txtLoop_Change: a number becomes the count; other text leaves it.
    if (const std::optional<double> v = numericValue(txtLoop->text())) k_.set.LoopsPer60ms = *v;
  };
  connect(Check1, &QCheckBox::toggled, this, [this](bool on) { if (!filling_) k_.set.Check1 = on ? 1 : 0; });

  const int lineTypes[5] = {1, 2, 3, 0, 5};
  QRadioButton* lineOptions[5] = {Option1, Option2, Option3, Option4, Option5};
  for (int i = 0; i < 5; ++i)
    connect(lineOptions[i], &QRadioButton::clicked, this, [this, t = lineTypes[i]] { keyLineClicked(t); });
  connect(optTimer, &QRadioButton::clicked, this, [this] { timingClicked(); });
  connect(OptSleep, &QRadioButton::clicked, this, [this] { timingClicked(); });
  connect(optLoop, &QRadioButton::clicked, this, handlers_.guard([this] { optLoop_Click(); }));

  // Handlers that may wait (let events run, or show a modal window) hold a
  // scope, so an unload meanwhile does not free the window under them.
  connect(Command1, &QPushButton::clicked, this, handlers_.guard([this] { Command1_Click(); }));
  connect(Command2, &QPushButton::clicked, this, [this] { k_.UpDown1_UpClick(); });
  connect(Command3, &QPushButton::clicked, this, [this] { k_.UpDown1_DownClick(); });
  connect(Command4, &QPushButton::clicked, this, handlers_.guard([this] { Command4_Click(); }));
  connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
  connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
  connect(cmdLoopFaster, &QPushButton::clicked, this, [this] { cmdLoopFaster_Click(); });
  connect(cmdLoopSlower, &QPushButton::clicked, this, [this] { cmdLoopSlower_Click(); });
  connect(cmdConfWinkey, &QPushButton::clicked, this, handlers_.guard([this] {
    if (configureWinKey) configureWinKey();
    if (!going()) Command1->setFocus(Qt::OtherFocusReason);
  }));
  connect(Command7, &QPushButton::clicked, this, handlers_.guard([this] { if (showCodePractice) showCodePractice(); }));

  fillFromSettings();
}

void CWFrm::fillFromSettings() {
  filling_ = true;
  const CWSettings& st = k_.set;
  for (int i = 1; i <= 14; ++i)
    if (Text[i] && Text[i]->text() != st.Text[i]) Text[i]->setText(st.Text[i]);
  txtSpace->setText(st.txtSpace);
  txtCWLoop->setText(st.txtCWLoop);
  txtLoop->setText(numtext::fromDouble(st.LoopsPer60ms));
  Check1->setChecked(st.Check1 != 0);
  switch (s_.KeyingType) {
    case 1: Option1->setChecked(true); break;
    case 2: Option2->setChecked(true); break;
    case 3: Option3->setChecked(true); break;
    case 5: Option5->setChecked(true); cmdConfWinkey->setVisible(true); break;
    default: Option4->setChecked(true); break;
  }
  (st.timing == CWTiming::Loop ? optLoop : st.timing == CWTiming::Sleep ? OptSleep : optTimer)->setChecked(true);
  setLoopControls(st.timing == CWTiming::Loop);
  filling_ = false;
}

void CWFrm::setLoopControls(bool on) {
  for (QWidget* w : std::initializer_list<QWidget*>{txtLoop, lblLoop, cmdLoopFaster, cmdLoopSlower}) w->setEnabled(on);
}

void CWFrm::keyLineClicked(int keyingType) {
  s_.KeyingType = static_cast<std::uint8_t>(keyingType);
  // Nothing hides it again.
  if (keyingType == 5) {
    cmdConfWinkey->setVisible(true);
    if (winKeyChosen) winKeyChosen();
  }
}

void CWFrm::timingClicked() {
  k_.set.timing = OptSleep->isChecked() ? CWTiming::Sleep : CWTiming::Timer;
  setLoopControls(false);
}

void CWFrm::optLoop_Click() {
  k_.set.timing = CWTiming::Loop;
  setLoopControls(true);
  runPendingEvents();  // repaint before the count holds the thread
  if (going()) return;
  if (k_.set.LoopsPer60ms == 0) k_.CalibrateCWLoop();
  txtLoop->setText(numtext::fromDouble(k_.set.LoopsPer60ms));
}

void CWFrm::Text10_LostFocus() {
  if (!numericValue(Text[10]->text())) Text[10]->setText(QStringLiteral("0"));
  k_.CWSetup();
}

void CWFrm::Text11_LostFocus() {
  if (!numericValue(Text[11]->text())) Text[11]->setText(QStringLiteral("0"));
}

void CWFrm::txtCWLoop_LostFocus() {
  k_.applyRepeatSeconds();
  if (txtCWLoop->text() != k_.set.txtCWLoop) txtCWLoop->setText(k_.set.txtCWLoop);
}

void CWFrm::txtSpace_Change() {
  const std::optional<double> v = numericValue(txtSpace->text());
  if (v && *v < -8) {
    txtSpace->setText(QStringLiteral("-8"));  // runs this step again with -8
    return;
  }
  if (!filling_) k_.set.txtSpace = txtSpace->text();
}

void CWFrm::txtSpace_LostFocus() {
  if (!numericValue(txtSpace->text())) txtSpace->setText(QStringLiteral("0"));
}

void CWFrm::Command5_Click() {
  const std::optional<double> v = numericValue(txtSpace->text());
  txtSpace->setText(v ? numtext::fromDouble(*v - 1) : QStringLiteral("0"));
}

void CWFrm::Command6_Click() {
  const std::optional<double> v = numericValue(txtSpace->text());
  txtSpace->setText(v ? numtext::fromDouble(*v + 1) : QStringLiteral("0"));
}

void CWFrm::cmdLoopFaster_Click() {
  if (const std::optional<double> v = numericValue(txtLoop->text()))
    txtLoop->setText(numtext::fromDouble(roundHalfEven(*v * 0.9)));
  Command1->setFocus(Qt::OtherFocusReason);
}

void CWFrm::cmdLoopSlower_Click() {
  if (const std::optional<double> v = numericValue(txtLoop->text()))
    txtLoop->setText(numtext::fromDouble(roundHalfEven(*v * 1.111111111111)));
  Command1->setFocus(Qt::OtherFocusReason);
}

void CWFrm::Command4_Click() {
  Label23->setVisible(true);
  runPendingEvents();  // "Sending!" is painted; clicks wait for the message
  if (going()) return;
  int f9 = 120;
  k_.FKeyCW(f9);
  if (going()) return;  // unloaded while the message went out
  Label23->setVisible(false);
  if (isVisible()) Text[1]->setFocus(Qt::OtherFocusReason);
}

void CWFrm::Command1_Click() {
  // The leave check of the box that had the focus runs first.
  if (QWidget* f = focusWidget()) {
    if (f == Text[10]) Text10_LostFocus();
    else if (f == Text[11]) Text11_LostFocus();
    else if (f == txtCWLoop) txtCWLoop_LostFocus();
    else if (f == txtSpace) txtSpace_LostFocus();
  }
  if (going()) return;  // unloaded during the port check's box
  const QString path = QDir(s_.ProgDir.isEmpty() ? QDir::currentPath() : s_.ProgDir).filePath(QStringLiteral("cw.txt"));
  const FileResult r = writeWholeFile(path, cwTxtBytes(k_.set, s_.KeyingType));
  hide();
  if (!r.ok) {
    // The old file stays whole; the registry is not written.
    dialogs().message(QStringLiteral("Unable to write file."),
                      QStringLiteral("The CW settings could not be saved to %1: %2").arg(path, r.error), Buttons::Ok);
    return;
  }
  Registry& reg = registry();
  reg.SaveSetting(QStringLiteral("Settings"), QStringLiteral("UserCWSelection"), timingName(k_.set.timing));
  reg.SaveSetting(QStringLiteral("Settings"), QStringLiteral("UserCWLoopOffset"),
                  numtext::fromDouble(k_.set.LoopsPer60ms));
  if (s_.KeyingType != 0 && showMessageList) showMessageList();
  if (main_) main_->focusCall();
}

void CWFrm::unload() {
  for (QDialog* d : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) d->close();
  handlers_.unload();
}

}  // namespace fd
