#include "rig/rigcontrolfrm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "core/windowrules.h"
#include "platform/forms.h"
#include "platform/platform.h"
#include "rig/frmfrequencytest.h"
#include "rig/readback.h"

namespace fd {
namespace {

const char* const kBauds[] = {"1200", "2400", "4800", "9600", "14400", "19200", "28800", "38400", "56000"};
const char* const kBaudCaptions[] = {"1.2", "2.4", "4.8", "9.6", "14.4", "19.2", "28.8", "38.4", "56"};
const char* const kPortWentAway =
    "The radio's port went away (cable or adapter unplugged?). Band and mode no longer follow the radio.";
const char* const kTriedEverySecond = " The port is tried again every second; End Test stops the tries.";

// Selecting by the program, as a click does; false clears the button even
// when it is the frame's only selected one.
void setOption(QRadioButton* b, bool on) {
  if (b->isChecked() == on) return;
  QButtonGroup* g = b->group();
  if (g && !on) g->setExclusive(false);
  b->setChecked(on);
  if (g && !on) g->setExclusive(true);
}

}  // namespace

RigControlfrm::RigControlfrm(ProgramState& state, MainWindow* main, QWidget* parent)
    : QDialog(parent), s_(state), main_(main) {
  setWindowTitle(QStringLiteral(" Rig Interface Setup"));
  applyWindowRule(this, "RigControlfrm", [this] { cmdDone_Click(); });  // Done runs Test
  layout.width = 9600;
  layout.height = 7200;
  const QString sans = QStringLiteral("MS Sans Serif");
  auto label = [&](const QString& text, double l, double t, double w, double h) {
    auto* x = new QLabel(text, this);
    x->setWordWrap(true);
    layout.add(x, ControlKind::Label, l, t, w, h, 8.25);
    return x;
  };
  auto frame = [&](const QString& text, double l, double t, double w, double h) {
    auto* g = new QGroupBox(text, this);
    layout.add(g, ControlKind::Frame, l, t, w, h, 8.25);
    return g;
  };
  auto option = [&](QGroupBox* g, QButtonGroup* bg, const QString& text, double l, double t, double w) {
    auto* b = new QRadioButton(text, g);
    bg->addButton(b);
    layout.add(b, ControlKind::Option, l, t, w, 240, 8.25);
    // A serial option stops polling; its value is read by the next Test.
    connect(b, &QRadioButton::clicked, this, [this] { Command2_Click(); });
    return b;
  };

  Label1 = label(QStringLiteral("Select Rig:"), 120, 120, 2000, 255);
  List1 = new QListWidget(this);
  layout.add(List1, ControlKind::ListBox, 120, 400, 2000, 4000, 8.25);
  connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
  connect(List1, &QListWidget::currentRowChanged, this, [this] {
    if (!SettingsLoading && List1->hasFocus()) List1_Click();
  });

  // The request boxes go into RigCntrl.txt a line each, between quotes:
  // whatever way text comes in, no line end or double quote gets into them,
  // so the radio is sent what is saved. Pasted lines are joined without a
  // blank, which the radio would be sent too.
  auto requestBox = [&](double t) {
    auto* b = new KeyBox(this);
    layout.add(b, ControlKind::TextBox, 2300, t, 2400, 315, 8.25);
    b->charFilter = [](int k) { return k == '"' ? 0 : k; };
    b->onKeyPress = [](int& k) { if (k == '"') k = 0; };
    b->dropPastedLineEnds = true;
    // Entering the box ends Test. The dialog's showing hands its focus
    // widget a focus event before the window is active: a window shown
    // again with the focus left in a box is no entering of it.
    b->onGotFocus = [this, b] {
      if (b->hasFocus()) Command2_Click();
    };
    return b;
  };
  Label4 = label(QStringLiteral("String to read frequency:"), 2300, 120, 2400, 255);
  txtFreq = requestBox(400);
  Label3 = label(QStringLiteral("String to read mode:"), 2300, 780, 2400, 255);
  txtMode = requestBox(1060);
  connect(txtFreq, &QLineEdit::textChanged, this, [this](const QString& t) { settings.FreqRequest = t; poll.req.freq = t; });
  connect(txtMode, &QLineEdit::textChanged, this, [this](const QString& t) { settings.ModeRequest = t; poll.req.mode = t; });

  chkConvToHex = new QCheckBox(QStringLiteral("Convert to Hex"), this);
  chkConvToHex->setEnabled(false);
  layout.add(chkConvToHex, ControlKind::CheckBox, 2300, 1460, 2400, 255, 8.25);
  ChkConvHex = new QCheckBox(QStringLiteral("Convert from Hex"), this);
  layout.add(ChkConvHex, ControlKind::CheckBox, 2300, 1760, 2400, 255, 8.25);
  connect(chkConvToHex, &QCheckBox::toggled, this, [this](bool on) {
    ChkConvHex->setChecked(on);
    poll.convToHex = on;
  });
  chkFrequency = new QCheckBox(QStringLiteral("Use Frequency"), this);
  chkFrequency->setChecked(true);
  layout.add(chkFrequency, ControlKind::CheckBox, 2300, 2060, 2400, 255, 8.25);

  Frame1 = frame(QStringLiteral("Mode by:"), 2300, 2380, 2400, 1100);
  auto* modeGroup = new QButtonGroup(this);
  auto modeOption = [&](const QString& text, double t) {
    auto* b = new QRadioButton(text, Frame1);
    modeGroup->addButton(b);
    layout.add(b, ControlKind::Option, 120, t, 2100, 240, 8.25);
    connect(b, &QRadioButton::clicked, this, [this] { modeByClicked(); });
    return b;
  };
  OptRig = modeOption(QStringLiteral("Rig"), 260);
  OptFreq = modeOption(QStringLiteral("Frequency"), 520);
  OptDont = modeOption(QStringLiteral("Don't Use"), 780);
  OptRig->setChecked(true);

  fraBaud = frame(QStringLiteral("Baud Rate (k):"), 4900, 120, 2200, 1340);
  auto* baudGroup = new QButtonGroup(this);
  for (int i = 0; i < 9; ++i)
    optBaud << option(fraBaud, baudGroup, QString::fromLatin1(kBaudCaptions[i]), 120 + (i / 3) * 700, 260 + (i % 3) * 320, 660);
  optBaud[8]->setChecked(true);
  fraParity = frame(QStringLiteral("Parity:"), 7300, 120, 2100, 1340);
  auto* parityGroup = new QButtonGroup(this);
  optParityOdd = option(fraParity, parityGroup, QStringLiteral("Odd"), 120, 260, 1800);
  optParityNone = option(fraParity, parityGroup, QStringLiteral("None"), 120, 580, 1800);
  optParityEven = option(fraParity, parityGroup, QStringLiteral("Even"), 120, 900, 1800);
  optParityNone->setChecked(true);
  fraData = frame(QStringLiteral("Data Bits:"), 4900, 1560, 1050, 900);
  auto* dataGroup = new QButtonGroup(this);
  optData7 = option(fraData, dataGroup, QStringLiteral("7"), 120, 260, 800);
  optData8 = option(fraData, dataGroup, QStringLiteral("8"), 120, 560, 800);
  optData8->setChecked(true);
  fraStop = frame(QStringLiteral("Stop Bits:"), 6050, 1560, 1050, 900);
  auto* stopGroup = new QButtonGroup(this);
  optStop1 = option(fraStop, stopGroup, QStringLiteral("1"), 120, 260, 800);
  optStop2 = option(fraStop, stopGroup, QStringLiteral("2"), 120, 560, 800);
  optStop1->setChecked(true);
  fraPower = frame(QStringLiteral("Connection Power:"), 7300, 1560, 2100, 1200);
  auto* powerGroup = new QButtonGroup(this);
  optPowerNone = option(fraPower, powerGroup, QStringLiteral("None"), 120, 260, 1800);
  optPowerRTS = option(fraPower, powerGroup, QStringLiteral("RTS"), 120, 560, 1800);
  optPowerDTR = option(fraPower, powerGroup, QStringLiteral("DTR"), 120, 860, 1800);
  optPowerNone->setChecked(true);
  fraPort = frame(QStringLiteral("Comm Port:"), 4900, 2560, 2200, 1300);
  auto* portGroup = new QButtonGroup(this);
  for (int i = 0; i < 10; ++i)
    optComm << option(fraPort, portGroup, QString::number(i + 1), 120 + (i / 5) * 1000, 240 + (i % 5) * 200, 900);
  optComm[0]->setChecked(true);
  fraPoll = frame(QStringLiteral("Radio Polling Rate:"), 7300, 2860, 2100, 1300);
  auto* pollGroup = new QButtonGroup(this);
  optPollFast = option(fraPoll, pollGroup, QStringLiteral("100 ms"), 120, 240, 1800);
  optPollMed = option(fraPoll, pollGroup, QStringLiteral("500 ms"), 120, 490, 1800);
  optPollSlow = option(fraPoll, pollGroup, QStringLiteral("2 Sec"), 120, 740, 1800);
  optReallySlow = option(fraPoll, pollGroup, QStringLiteral("10 Sec"), 120, 990, 1800);
  optPollMed->setChecked(true);

  Label2 = label(QStringLiteral("Polling Rig"), 2300, 3560, 2400, 255);
  Label2->hide();
  Label7 = label(QStringLiteral("Frequency:"), 2300, 3860, 1000, 255);
  lblFreq = label(QString(), 3300, 3860, 1400, 255);
  layout.find(lblFreq)->fitText = false;  // the radio's answers: data, not captions
  Label5 = label(QStringLiteral("Mode:"), 2300, 4160, 1000, 255);
  // As wide as the frequency's value: "No Response" shows whole on one line.
  lblMode = label(QString(), 3300, 4160, 1400, 255);
  layout.find(lblMode)->fitText = false;
  Label9 = label(QStringLiteral("Should be PH or CW"), 4800, 4160, 1800, 255);
  // Below the values, clear of the polling rate's frame.
  Label10 = label(QStringLiteral("Icom radio users will have to replace the 64 in the string with the ID for your "
                                 "particular radio.  Please check your Icom user's manual for details."),
                  3300, 4430, 6100, 400);
  Label10->hide();
  Label6 = label(QStringLiteral("Unprocessed data returned:"), 120, 4560, 3000, 255);
  lblUnProcess = label(QString(), 120, 4840, 9300, 560);
  lblUnProcess->setFrameShape(QFrame::Panel);
  lblUnProcess->setFrameShadow(QFrame::Sunken);
  lblUnProcess->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto button = [&](const QString& text, double l, double w) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    layout.add(b, ControlKind::Button, l, 5500, w, 400, 8.25);
    return b;
  };
  Command1 = button(QStringLiteral("Test"), 120, 1200);
  Command2 = button(QStringLiteral("End Test"), 1420, 1200);
  Command2->setEnabled(false);
  Command3 = button(QStringLiteral("Change Frequency"), 2720, 1700);
  Command4 = button(QStringLiteral("Copy unprocessed data to clipboard"), 4520, 3000);
  cmdDone = button(QStringLiteral("&Done"), 7920, 1500);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });

  Line1 = new QFrame(this);
  Line1->setFrameShape(QFrame::HLine);
  layout.add(Line1, ControlKind::Line, 120, 6020, 9300, 30);
  Label8 = label(QStringLiteral("Choose your radio, its serial settings and port, then click Test. Choose the "
                                "connection power if your interface takes it from RTS or DTR. While the radio is "
                                "polled, the log's band and mode follow it."),
                 120, 6120, 3000, 900);
  Label11 = label(QStringLiteral("The rig interface is a beta. With \"Other\" you can send your radio's own "
                                 "commands and watch what it returns below."),
                  3300, 6120, 3000, 900);
  Label12 = label(QStringLiteral("A right click on a spot of the band map tunes the radio. Use Change Frequency to "
                                 "test that function with other radios."),
                  6480, 6120, 3000, 900);
  for (const TwipControl& c : layout.controls)
    if (c.widget) c.widget->setFont(designFont(sans, 8.25));

  tmrGetData.setInterval(1000);
  connect(&tmrGetData, &QTimer::timeout, this, [this] { tmrGetData_Timer(); });
  tmrReopen.setInterval(1000);
  tmrReopen.setTimerType(Qt::PreciseTimer);  // a coarse timer may come 5 % early
  connect(&tmrReopen, &QTimer::timeout, this, [this] { tmrReopen_Timer(); });
  comComm1 = makeSerialPort();
  comComm1->setProgramFolder(s_.ProgDir);
  comComm1->onVanished = [this](const QString&) { linkLost(); };
  poll.port = comComm1.get();
  Form_Load();
}

RigControlfrm::~RigControlfrm() {
  tmrGetData.stop();
  tmrReopen.stop();
  if (comComm1) comComm1->onVanished = nullptr;
}

const rig::RigFamily* RigControlfrm::currentFamily() const { return rig::family(s_.RigType); }

void RigControlfrm::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  for (const rig::RigFamily& f : rig::families()) List1->addItem(QString::fromLatin1(f.name));
  SettingsLoading = 1;
  LoadRigSettings();
  LoadBandPlan();
  SettingsLoading = 0;
  poll.values.vfo = 10;
  poll.fam = currentFamily();
}

void RigControlfrm::LoadRigSettings() {
  rig::RigFile f;
  f.settings = settings;
  f.rigType = s_.RigType;
  rig::loadRigFile(s_.progFile(QStringLiteral("RigCntrl.txt")), f);
  // What was read stays, even when the file stopped short.
  settings = f.settings;
  if (f.valuesRead >= 11) s_.RigType = f.rigType;
  if (f.valuesRead < 14) return;
  chkConvToHex->setChecked(f.convToHex != 0);
  chkFrequency->setChecked(f.useFrequency != 0);
  // Any other mode-by value leaves the choice as it stands.
  if (f.modeBy == 1) setOption(OptRig, true);
  if (f.modeBy == 2) setOption(OptFreq, true);
  if (f.modeBy == 3) setOption(OptDont, true);
  txtFreq->setText(settings.FreqRequest);
  txtMode->setText(settings.ModeRequest);
  for (int i = 0; i < List1->count(); ++i)
    if (List1->item(i)->text() == s_.RigType) List1->setCurrentRow(i);
  if (s_.RigType == u"Other") chkConvToHex->setEnabled(true);
  if (s_.RigType == u"Icom") Label10->show();
  // A port number outside 1 to 10 skips only the port option.
  if (settings.PortNumber >= 1 && settings.PortNumber <= 10) setOption(optComm[settings.PortNumber - 1], true);
  const QString baud = settings.Baud.trimmed();
  for (int i = 0; i < 9; ++i) setOption(optBaud[i], baud == QLatin1String(kBauds[i]));
  setOption(optParityOdd, settings.Parity == u"O");
  setOption(optParityNone, settings.Parity == u"N");
  setOption(optParityEven, settings.Parity == u"E");
  setOption(optData7, settings.DataBits == u"7");
  setOption(optData8, settings.DataBits == u"8");
  setOption(optStop1, settings.StopBits == u"1");
  setOption(optStop2, settings.StopBits == u"2");
  setOption(optPowerNone, settings.PowerLine == u"N");
  setOption(optPowerRTS, settings.PowerLine == u"R");
  setOption(optPowerDTR, settings.PowerLine == u"D");
  setOption(optPollFast, settings.PollRate == u"F");
  setOption(optPollMed, settings.PollRate == u"M");
  setOption(optPollSlow, settings.PollRate == u"S");
  setOption(optReallySlow, settings.PollRate == u"R");
}

bool RigControlfrm::SaveRigSettings() {
  rig::RigFile f;
  f.settings = settings;
  f.rigType = s_.RigType;
  f.convToHex = chkConvToHex->isChecked() ? 1 : 0;
  f.useFrequency = chkFrequency->isChecked() ? 1 : 0;
  f.modeBy = OptFreq->isChecked() ? 2 : OptDont->isChecked() ? 3 : 1;
  const QString path = s_.progFile(QStringLiteral("RigCntrl.txt"));
  const FileResult r = rig::saveRigFile(path, f);
  // The old file stays whole; the choices stay in the window for another Done.
  if (!r.ok)
    dialogs().message(QStringLiteral("Unable to write file."),
                      QStringLiteral("The rig settings could not be saved to %1: %2").arg(path, r.error), Buttons::Ok);
  return r.ok;
}

void RigControlfrm::applyFamily(const rig::RigFamily& f) {
  if (f.baud)
    for (int i = 0; i < 9; ++i)
      if (QString::number(f.baud) == QLatin1String(kBauds[i])) setOption(optBaud[i], true);
  if (f.dataBits) setOption(f.dataBits == 7 ? optData7 : optData8, true);
  if (f.stopBits) setOption(f.stopBits == 2 ? optStop2 : optStop1, true);
  if (f.parity) setOption(f.parity == 'O' ? optParityOdd : f.parity == 'E' ? optParityEven : optParityNone, true);
  txtFreq->setText(QString::fromLatin1(f.freqRequest));
  txtMode->setText(QString::fromLatin1(f.modeRequest));
  chkConvToHex->setChecked(f.convToHex);
  if (f.label10) Label10->show();
  if (f.send == rig::SendKind::Other) chkConvToHex->setEnabled(true);
}

void RigControlfrm::List1_Click() {
  if (SettingsLoading) return;
  if (!List1->currentItem()) return;
  Command2_Click();
  s_.RigType = List1->currentItem()->text();
  txtFreq->clear();
  txtMode->clear();
  chkConvToHex->setChecked(false);
  chkConvToHex->setEnabled(false);
  Label10->hide();
  if (const rig::RigFamily* f = currentFamily()) applyFamily(*f);
  poll.fam = currentFamily();
}

// The port as Test opens it: the last Test's settings, the family's
// handshake, the power line and the opening bytes. `again`: the device of
// the last open, after a loss.
bool RigControlfrm::openLinkPort(bool again) {
  const rig::RigFamily* f = currentFamily();
  if (comComm1->isOpen()) comComm1->close();
  comComm1->setCommPort(settings.PortNumber);
  comComm1->setProgramFolder(s_.ProgDir);
  // Every open sets the handshake: no stale RTS/CTS from another family.
  comComm1->setHandshaking(f ? f->handshake : 0);
  comComm1->setSettings(settings.PortSettings);
  comComm1->setDTREnable(false);
  comComm1->setRTSEnable(false);
  if (!(again ? comComm1->reopen() : comComm1->open())) return false;
  if (settings.PowerLine == u"R") comComm1->setRTSEnable(true);
  if (settings.PowerLine == u"D") comComm1->setDTREnable(true);
  if (f && *f->openHex) comComm1->output(cat::HexTextToBytes(QString::fromLatin1(f->openHex)));
  return true;
}

void RigControlfrm::OpenRigPort() {
  if (openLinkPort(false)) return;
  dialogs().message(QStringLiteral("Invalid Comm Settings."),
                    QStringLiteral("The comm port that you selected for rig interface is either in use, invalid or "
                                   "the settings that you have selected are invalid.  Please select another "
                                   "combination or choose None for your rig selection."),
                    Buttons::Ok, Icon::Information);
  if (!isVisible()) showModal(this);  // at start-up: let the operator correct it
}

void RigControlfrm::StartRigPolling() {
  if (settings.PollRate == u"F") tmrGetData.setInterval(50);
  else if (settings.PollRate == u"M") tmrGetData.setInterval(250);
  else if (settings.PollRate == u"S") tmrGetData.setInterval(1000);
  else if (settings.PollRate == u"R") tmrGetData.setInterval(5000);
  tmrGetData.start();
}

// A link started (Test) or back (a lost port reopened): "Polling Rig", End
// Test, and no values until the radio answers.
void RigControlfrm::awaitFirstAnswer() {
  lblMode->setText(QStringLiteral("No Response"));
  lblFreq->setText(QStringLiteral("No Response"));
  Command2->setEnabled(true);
  Label2->show();
  poll.values.mode.clear();
}

void RigControlfrm::Command1_Click() {
  endTries();  // Test opens the port itself, by the port map, with the options as they are now
  const bool none = s_.RigType == u"None";
  if (!none) awaitFirstAnswer();
  for (int i = 0; i < 10; ++i)
    if (optComm[i]->isChecked()) settings.PortNumber = i + 1;
  for (int i = 0; i < 9; ++i)
    if (optBaud[i]->isChecked()) {
      settings.Baud = rig::baudField(QString::fromLatin1(kBauds[i]));
      break;
    }
  if (optParityOdd->isChecked()) settings.Parity = QStringLiteral("O");
  else if (optParityNone->isChecked()) settings.Parity = QStringLiteral("N");
  else if (optParityEven->isChecked()) settings.Parity = QStringLiteral("E");
  if (optData7->isChecked()) settings.DataBits = QStringLiteral("7");
  else if (optData8->isChecked()) settings.DataBits = QStringLiteral("8");
  if (optStop1->isChecked()) settings.StopBits = QStringLiteral("1");
  else if (optStop2->isChecked()) settings.StopBits = QStringLiteral("2");
  settings.PortSettings = rig::portSettingsText(settings);
  if (optPowerNone->isChecked()) settings.PowerLine = QStringLiteral("N");
  else if (optPowerRTS->isChecked()) settings.PowerLine = QStringLiteral("R");
  else if (optPowerDTR->isChecked()) settings.PowerLine = QStringLiteral("D");
  if (optPollFast->isChecked()) settings.PollRate = QStringLiteral("F");
  else if (optPollMed->isChecked()) settings.PollRate = QStringLiteral("M");
  else if (optPollSlow->isChecked()) settings.PollRate = QStringLiteral("S");
  else if (optReallySlow->isChecked()) settings.PollRate = QStringLiteral("R");
  if (none) return;
  poll.fam = currentFamily();
  const rig::RigFamily* f = poll.fam;
  const bool noPort = f && !f->opensPort;  // the Pegasus: files, no port
  if (!noPort) OpenRigPort();
  if (comComm1->isOpen() || noPort) {
    linkOn_ = true;
    tmrGetData_Timer();
    StartRigPolling();
  } else {
    tmrGetData.stop();  // idle: no ticks on a closed port from an earlier link
    linkOn_ = false;
    Command2->setEnabled(false);
    Label2->hide();
  }
}

void RigControlfrm::Command2_Click() {
  lblMode->clear();
  lblFreq->clear();
  lblUnProcess->clear();
  tmrGetData.stop();
  endTries();
  linkOn_ = false;
  Label2->hide();
  Command2->setEnabled(false);
  if (comComm1->isOpen()) comComm1->close();
}

void RigControlfrm::endTries() {
  if (!portLost()) return;
  tmrReopen.stop();
  if (main_) main_->setRadioLost(false);
}

void RigControlfrm::linkLost() {
  if (unloaded_) return;  // the program is closing: nothing to tell, nothing to try
  // A port that goes while Test opens it leaves Test to go idle.
  if (!linkOn_) {
    Command2_Click();
    lblUnProcess->setText(QString::fromLatin1(kPortWentAway));
    return;
  }
  if (portLost()) return;  // said once per loss
  // The adapter pulled or the far end gone: the main window tells it where
  // the operator looks, without a window over the log, and the port is
  // opened again once a second until it comes back. End Test stays enabled:
  // it ends the tries.
  tmrGetData.stop();
  comComm1->close();
  Label2->hide();
  lblFreq->clear();
  lblMode->clear();
  lblUnProcess->setText(QString::fromLatin1(kPortWentAway) + QLatin1String(kTriedEverySecond));
  tmrReopen.start();
  if (main_) main_->setRadioLost(true);
}

void RigControlfrm::tmrReopen_Timer() {
  // Never inside a radio command's waits: the command ends first.
  if (!portLost() || commandBusy()) return;
  if (!openLinkPort(true) || !comComm1->isOpen()) return;
  endTries();
  awaitFirstAnswer();
  lblUnProcess->clear();
  // What was asked before the loss went with the port: start with a request.
  poll.discard();
  tmrGetData_Timer();
  StartRigPolling();
}

void RigControlfrm::Command3_Click() {
  if (polling()) {
    frmFrequencyTest test(*this, this);
    showModal(&test);
    return;
  }
  dialogs().message(QStringLiteral("You must be polling your rig to test this function."),
                    QStringLiteral("You must be polling your rig to test this function.  Please select your rig type "
                                   "and click the Test command button."),
                    Buttons::Ok, Icon::Information);
}

void RigControlfrm::Command4_Click() {
  QApplication::clipboard()->clear();
  QApplication::clipboard()->setText(lblUnProcess->text());
  cmdDone->setFocus();
}

void RigControlfrm::cmdDone_Click() {
  // While the lost port is tried, Done only puts the window away: Test
  // would end the tries and open whatever the port's number maps to now.
  if (s_.RigType != u"None" && !portLost()) Command1_Click();
  if (main_) main_->SavePref();
  hide();
  SaveRigSettings();
}

void RigControlfrm::modeByClicked() {
  lblMode->setText(QStringLiteral("No Response"));
  poll.values.mode.clear();
}

void RigControlfrm::Form_Unload() {
  const rig::RigFamily* f = currentFamily();
  if (f && *f->unloadHex && polling() && comComm1->isOpen())
    comComm1->output(cat::HexTextToBytes(QString::fromLatin1(f->unloadHex)));
  // The main window is going: a command still waiting ends quietly, no
  // try starts, nothing is written to it.
  unloaded_ = true;
  linkOn_ = false;
  main_ = nullptr;
  tmrGetData.stop();
  tmrReopen.stop();
  comComm1->close();
}

void RigControlfrm::tmrGetData_Timer() {
  poll.fam = currentFamily();
  if (poll.ReadTickDue == 0) {
    poll.sendTick();
    return;
  }
  bool ok = true;
  const std::optional<QByteArray> answer = poll.readTick(ok);
  if (!ok || !answer) return;
  cat::RigValues& v = poll.values;
  if (OptFreq->isChecked()) {
    const QString m = cat::ModeByFrequency(v.freq);
    if (!m.isEmpty()) v.mode = m;
  }
  if (isVisible()) {
    if (v.freq > 0) lblFreq->setText(rig::freqLabelText(v.freq));
    lblMode->setText(v.mode);
    lblUnProcess->setText(ChkConvHex->isChecked() ? cat::StringToHexDisplay(*answer) : QString::fromLatin1(*answer));
  }
  if (!main_) return;
  if (chkFrequency->isChecked()) rig::BandFreqConversion(*main_, s_, v.freq);
  if (!OptDont->isChecked()) rig::ModeSelection(*main_, s_, v.mode);
}

}  // namespace fd
