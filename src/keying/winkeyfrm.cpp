#include "keying/winkeyfrm.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/windowrules.h"
#include "keying/formparts.h"
#include <QRadioButton>

#include "keying/winkeyer.h"
#include "platform/platform.h"

namespace fd {

frmWinKey::frmWinKey(WinKeyer& keyer, QString fieldDayDir, QWidget* parent)
    : QDialog(parent), k_(keyer), dir_(std::move(fieldDayDir)) {
  setWindowTitle(QStringLiteral(" WinKey Setup"));
  applyWindowRule(this, "frmWinKey");
  layout.width = 6120;
  layout.height = 6840;
  setFont(designFont(QStringLiteral("Arial"), 8.25));
  auto label = [&](const QString& text, double l, double t, double w) {
    return formparts::label(this, layout, text, l, t, w, 285);
  };
  // NumbersOnly: digits and Backspace.
  auto numbersOnly = [](int& k) { if (k != 8 && (k < '0' || k > '9')) k = 0; };
  auto box = [&](double l, double t, double w, QString WKBoxes::* field, void (WinKeyer::*check)()) {
    auto* b = new KeyBox(this);
    layout.add(b, ControlKind::TextBox, l, t, w, 285, 8.25);
    b->onKeyPress = numbersOnly;
    b->charFilter = [numbersOnly](int k) { numbersOnly(k); return k; };
    b->onChange = [this, b, field] { if (!filling_) k_.box.*field = b->text(); };
    b->onLostFocus = [this, check] { (k_.*check)(); refresh(); };
    return b;
  };
  auto option = [&](const QString& text, double l, double t, QButtonGroup* g, int value, bool pin) {
    auto* o = new QRadioButton(text, this);
    layout.add(o, ControlKind::Option, l, t, 2500, 285, 8.25);
    g->addButton(o);
    connect(o, &QRadioButton::clicked, this, [this, value, pin] {
      pin ? k_.setPinCfg(value) : k_.setMode(value);
      refresh();
    });
    return o;
  };
  auto button = [&](const QString& text, double l, double t, double w) {
    return formparts::button(this, layout, text, l, t, w);
  };

  label(QStringLiteral("Settings:"), 120, 120, 1500);
  // The setting rows: caption, box, what the box holds, its leave check, the hint.
  struct Row {
    const char* caption;
    KeyBox** box;
    QString WKBoxes::* field;
    void (WinKeyer::*check)();
    const char* hint;
  };
  const Row rows[] = {
      {"Com Port:", &txtWKComPort, &WKBoxes::txtWKComPort, &WinKeyer::txtWKComPort_LostFocus, ""},
      {"WPM:", &txtWKWPM, &WKBoxes::txtWKWPM, &WinKeyer::txtWKWPM_LostFocus,
       "Up / down arrows from main form change speeds."},
      {"Weight:", &txtWeight, &WKBoxes::txtWeight, &WinKeyer::txtWeight_LostFocus,
       "Proportional amount added or subtracted (50 is standard)."},
      {"Lead In:", &txtLeadIn, &WKBoxes::txtLeadIn, &WinKeyer::txtLeadIn_LostFocus,
       "Lead in time for transmitter (10 ms increments)."},
      {"Tail:", &txtTail, &WKBoxes::txtTail, &WinKeyer::txtTail_LostFocus,
       "Tail time after keying has stopped (10 ms increments)."},
      {"Ratio:", &txtRatio, &WKBoxes::txtRatio, &WinKeyer::txtRatio_LostFocus, "Ratio of dits to dahs (Range: 33 - 66)."},
  };
  double top = 480;
  for (const Row& r : rows) {
    label(QString::fromLatin1(r.caption), 120, top, 1100);
    *r.box = box(1300, top, 600, r.field, r.check);
    if (*r.hint) label(QString::fromLatin1(r.hint), 2000, top, 4000);
    top += 360;
  }

  auto* frame2 = new QGroupBox(QStringLiteral("Keyer Mode"), this);
  layout.add(frame2, ControlKind::Frame, 120, 2700, 2820, 1500, 8.25);
  auto* modes = new QButtonGroup(this);
  optIambicB = option(QStringLiteral("Iambic B"), 240, 2960, modes, 0, false);
  optIambicA = option(QStringLiteral("Iambic A"), 240, 3260, modes, 16, false);
  optUltimatic = option(QStringLiteral("Ultimatic"), 240, 3560, modes, 32, false);
  optBug = option(QStringLiteral("Bug Keyer"), 240, 3860, modes, 48, false);
  auto* frame1 = new QGroupBox(QStringLiteral("Pin 5 Configuration"), this);
  layout.add(frame1, ControlKind::Frame, 3120, 2700, 2880, 1500, 8.25);
  auto* pins = new QButtonGroup(this);
  optKey5Off3Out = option(QStringLiteral("P5 Off, P3 Key Out"), 3240, 2960, pins, 4, true);
  optKey5Out3Off = option(QStringLiteral("P5 Key Out, P3 Off"), 3240, 3260, pins, 8, true);
  optPTT = option(QStringLiteral("PTT"), 3240, 3560, pins, 5, true);
  optTone = option(QStringLiteral("Tone"), 3240, 3860, pins, 6, true);
  frame1->lower();
  frame2->lower();

  label(QStringLiteral("WinKey Status:"), 120, 4380, 1300);
  lblOpenStatus = label(QStringLiteral("Closed"), 1450, 4380, 1600);
  label(QStringLiteral("WinKey Version:"), 3120, 4380, 1400);
  lblVersion = label(QStringLiteral("Version #"), 4550, 4380, 1450);
  label(QStringLiteral("Status"), 120, 4740, 1300);
  label(QStringLiteral("Speed Pot"), 1450, 4740, 1300);
  label(QStringLiteral("Echo Bk"), 3120, 4740, 1300);
  Text1 = new KeyBox(this);
  layout.add(Text1, ControlKind::TextBox, 120, 5100, 5880, 285, 8.25);
  cmdOpenWinkey = button(QStringLiteral("Open"), 120, 5580, 940);
  cmdCloseWinkey = button(QStringLiteral("Close"), 1100, 5580, 940);
  Command3 = button(QStringLiteral("Test"), 2080, 5580, 940);
  Command1 = button(QStringLiteral("Buffer Test"), 3060, 5580, 940);
  cmdStop = button(QStringLiteral("Stop"), 4040, 5580, 940);
  Command2 = button(QStringLiteral("Defaults Test"), 5020, 5580, 980);  // does nothing
  cmdDone = button(QStringLiteral("&Done"), 4920, 6240, 1080);

  ResizeToScale(layout, display().workWidthTwips(), display().workHeightTwips(), 9600, 7200, 0, 1,
                QStringLiteral("Arial"));
  layout.apply(this, display().twipsPerPixel());

  // The buttons that send through the keyer wait on it and let events run:
  // an unload meanwhile leaves the window until they have returned.
  auto thenDone = [this](void (WinKeyer::*f)()) {
    return handlers_.guard([this, f] {
      (k_.*f)();
      if (handlers_.going()) return;
      refresh();
      if (isVisible()) cmdDone->setFocus(Qt::OtherFocusReason);
    });
  };
  connect(cmdOpenWinkey, &QPushButton::clicked, this, thenDone(&WinKeyer::cmdOpenWinkey_Click));
  connect(cmdCloseWinkey, &QPushButton::clicked, this, thenDone(&WinKeyer::cmdCloseWinkey_Click));
  connect(cmdStop, &QPushButton::clicked, this, thenDone(&WinKeyer::cmdStop_Click));
  connect(Command3, &QPushButton::clicked, this, thenDone(&WinKeyer::Command3_Click));
  connect(Command1, &QPushButton::clicked, this, handlers_.guard([this] {
    k_.Command1_Click();
    if (!handlers_.going()) refresh();
  }));
  connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
  // The typing box: each character above 13 goes to the keyer; it stays in the box.
  Text1->onKeyPress = [this](int& k) {
    if (k >= 'a' && k <= 'z') k -= 32;
    if (k > 13) {
      const bool wasEmpty = k_.s.CWBuffer.isEmpty();
      k_.s.CWBuffer += QChar(k);
      if (wasEmpty) {
        HandlerDepth::Scope scope(handlers_);
        k_.WKTransmit();
      }
    }
  };
  refresh();
}

void frmWinKey::refresh() {
  filling_ = true;
  const WKBoxes& b = k_.box;
  txtWKComPort->setText(b.txtWKComPort);
  txtWKWPM->setText(b.txtWKWPM);
  txtWeight->setText(b.txtWeight);
  txtLeadIn->setText(b.txtLeadIn);
  txtTail->setText(b.txtTail);
  txtRatio->setText(b.txtRatio);
  lblOpenStatus->setText(k_.lblOpenStatus);
  lblVersion->setText(k_.lblVersion);
  const std::pair<QRadioButton*, int> modes[] = {{optIambicB, 0}, {optIambicA, 16}, {optUltimatic, 32}, {optBug, 48}};
  for (auto [o, v] : modes) if (v == k_.WinKeyMode) o->setChecked(true);
  const std::pair<QRadioButton*, int> pins[] = {{optKey5Off3Out, 4}, {optKey5Out3Off, 8}, {optPTT, 5}, {optTone, 6}};
  for (auto [o, v] : pins) if (v == k_.WinKeyPinCfg) o->setChecked(true);
  filling_ = false;
}

void frmWinKey::cmdDone_Click() {
  k_.txtWKComPort_LostFocus();
  QString why;
  const bool ok = k_.writeWkTxt(dir_, &why);
  hide();
  if (!ok)
    dialogs().message(QStringLiteral("Unable to write file."),
                      QStringLiteral("The WinKey settings could not be saved to %1/WK.txt: %2").arg(dir_, why),
                      Buttons::Ok);
}

}  // namespace fd
