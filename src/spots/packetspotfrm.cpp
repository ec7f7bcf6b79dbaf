// The spotting setup window: its controls, settings file, control groups,
// help text and buttons. The links are in spotlinks.cpp.
#include "spots/packetspotfrm.h"

#include <QCloseEvent>
#include <QScrollBar>

#include "core/windowrules.h"
#include "platform/platform.h"
#include "platform/safefile.h"
#include "spots/spotservice.h"

namespace fd {

namespace {

const QString kNone = QStringLiteral("None");
const QString kTnc = QStringLiteral("TNC");
const QString kTelnet = QStringLiteral("Telnet");
const QString kAgw = QStringLiteral("AGW Packet Engine");
const QString kCrLf2 = QStringLiteral("\r\n\r\n");

struct OptionRow {
  const char* caption;
  const char* value;
};
constexpr OptionRow kBaudRows[] = {{"1.2k", "1200"},  {"2.4k", "2400"},   {"4.8k", "4800"},
                                   {"9.6k", "9600"},  {"14.4k", "14400"}, {"19.2k", "19200"}};
constexpr OptionRow kParityRows[] = {{"Odd", "O"}, {"None", "N"}, {"Even", "E"}};
constexpr OptionRow kDataRows[] = {{"7", "7"}, {"8", "8"}};
constexpr OptionRow kStopRows[] = {{"1", "1"}, {"2", "2"}};
constexpr OptionRow kPowerRows[] = {{"None", "N"}, {"RTS", "R"}, {"DTR", "D"}};
constexpr const char* kHandshakeCaptions[] = {"None", "Xon Xoff", "RTS", "RTS OnOff"};

// Selects one option of a group (nullptr: none), without click events.
template <size_t N>
void selectOnly(std::array<QRadioButton*, N>& group, QRadioButton* chosen) {
  QButtonGroup* g = group[0]->group();
  if (g) g->setExclusive(false);
  for (QRadioButton* b : group) b->setChecked(b == chosen);
  if (g) g->setExclusive(true);
}

// Each frame's options are one exclusive group (all sit on the window itself).
template <size_t N>
void makeGroup(QObject* owner, std::array<QRadioButton*, N>& group) {
  auto* g = new QButtonGroup(owner);
  for (QRadioButton* b : group) g->addButton(b);
}

template <size_t N>
int selectedIndex(const std::array<QRadioButton*, N>& group) {
  for (size_t i = 0; i < N; ++i)
    if (group[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

// Selects the option whose value equals text (trailing blanks ignored, case too); clears the others.
template <size_t N, size_t M>
void selectByValue(std::array<QRadioButton*, N>& group, const OptionRow (&rows)[M], const QString& text) {
  static_assert(N == M);
  QString t = text;
  while (t.endsWith(u' ')) t.chop(1);
  QRadioButton* chosen = nullptr;
  for (size_t i = 0; i < N; ++i)
    if (t.compare(QLatin1String(rows[i].value), Qt::CaseInsensitive) == 0) chosen = group[i];
  selectOnly(group, chosen);
}

// Help blocks, each paragraph followed by two line ends.
QString block(std::initializer_list<const char*> paragraphs) {
  QString out;
  for (const char* p : paragraphs) out += QString::fromLatin1(p) + kCrLf2;
  return out;
}

QString helpBlock(char which) {
  switch (which) {
    case 'A':
      return block({"Use this form to configure your DX spotting options.  After you make your selections, a list or "
                    "band map will display on the main form (as selected here) to keep you updated on the latest "
                    "packet spots.",
                    "The list will show the last 2-3 posts on the main form depending on your screen size.  The band "
                    "map will display the prefixes posted for your current band.  To see the whole call and "
                    "frequency, move your mouse over the prefix and observe either the tool tip or the Possible "
                    "Duplicates box.",
                    "The program keeps the last 50 DX posts regardless of band in memory. Your band map will cycle "
                    "through these posts as they are received.  Posts received within the last 10 minutes will be "
                    "yellow; posts 10-30 minutes old will be white and posts 30-60 minutes old will be gray.",
                    "If you are using the program's rig control features, you can right click any spot displayed on "
                    "the main form's band map or HF spectrum map to tune your rig to the spot frequency. Right "
                    "clicking will not change frequency when displaying the DX spots in list mode."});
    case 'B':
      return block({"If you have an Internet connection (either telephone line or high speed), the Telnet option is "
                    "very easy to implement.  Just connect to the Internet by your regular ISP and click Open on this "
                    "form.  Type your call sign when prompted and press enter."});
    case 'C':
      return block({"To use a Packet TNC, you will have to check your modem documentation for the proper serial port "
                    "settings.  Use either Crtl C or the Esc key to send the Hex character to put your TNC in command "
                    "mode (you do not have to press enter to send the Hex character).  Otherwise, just type and press "
                    "enter to send text.",
                    "One nice feature with the packet option is that you don't actually have to connect to another "
                    "packet station.  Just click the DX Only check box so that only packets identified as DX will be "
                    "displayed.  As long as DX posts are being transmitted the software will check recent posts to "
                    "eliminate duplicate posts.  Even if you are connected, it is a good idea to check this box to "
                    "eliminate miscellaneous comments, etc."});
    case 'D':
      return block({"This program will also interface with the AGW Packet Engine.  The AGW Packet engine will "
                    "interface with your existing sound card (or TNC including Baypac) to send and receive Packet.  "
                    "To use the AGW Packet Engine:",
                    "- Install a packet engine that speaks the AGW interface.  On Linux that is Dire Wolf, in the "
                    "Debian package direwolf (apt-get install direwolf); its home is "
                    "https://github.com/wb2osz/direwolf.",
                    "Dire Wolf serves the AGW interface on TCP port 8000 (its AGWPORT setting); the instructions "
                    "for its use are on that web site and in the package's documentation.",
                    "- Run the Packet Engine software and configure it as described on the AGW Packet Engine website "
                    "for your sound card or TNC.",
                    "- Click Open from this program.",
                    "To send a connect request using the AGW packet engine, type in the format of",
                    ":C Varik     or to disconnect :D",
                    "and press enter (you can also use the Esc key to add a colon)."});
    case 'E':
      return block({"When you have configured your DX spotting options, click Open to initiate the communication.  "
                    "Then click Done to return to the main form.",
                    "If the list is being displayed on the main form, you can click on it to quickly return to this "
                    "form.  To return the main form to the original display, select None from the spotting "
                    "options."});
    case 'F':
      return block({"The TNC link was developed and tested with a Kantronics KPC3+ TNC.  Reports of how it works with "
                    "other TNCs and interfaces are welcome."});
  }
  return {};
}

}  // namespace

PacketSpotfrm::PacketSpotfrm(SpotService& service, ProgramState& state, MainWindow* main, QWidget* parent)
    : QWidget(parent, Qt::Window), sv_(service), s_(state), main_(main) {
  setWindowTitle(QStringLiteral(" DX Spotting Setup"));
  applyWindowRule(this, "PacketSpotfrm");  // Esc is the TNC's command-mode key
  buildControls();
  comComm1 = makeSerialPort();
  comComm1->setProgramFolder(s_.ProgDir);
  comComm1->onVanished = [this](const QString&) {
    appendMonitor(kCrLf2 + QStringLiteral("** TNC Serial Port Lost **"));
    Command2_Click();
  };
  Winsock1 = makeTelnetSocket();
  Winsock1->onData = [this] { Winsock1_DataArrival(); };
  Winsock1->onError = [this](int n) { Winsock1_Error(n); };
  Winsock1->onClosedByPeer = [this] { Winsock1_ClosedByPeer(); };
  agw = sv_.agwSeam;
  if (!agw) {
    ownAgw_ = makeTcpAgwEngine();
    agw = ownAgw_.get();
  }
  Timer1.setInterval(333);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  intake.post = [this](const QString& f, const QString& c, const QString& l) { PostSpot(f, c, l); };
  intake.monitorChanged = [this] { monitorChanged(); };
  intake.burst = [this](bool begin) { begin ? sv_.beginBurst() : sv_.endBurst(); };
  Form_Load();
}

PacketSpotfrm::~PacketSpotfrm() {
  Timer1.stop();
  if (Winsock1) {
    Winsock1->onError = nullptr;
    Winsock1->onClosedByPeer = nullptr;
    Winsock1->close();
  }
  if (comComm1) {
    comComm1->onVanished = nullptr;
    comComm1->close();
  }
}

void PacketSpotfrm::buildControls() {
  layout.width = 9000;
  layout.height = 7100;
  layout.fontSize = 8.25;
  const QString sans = QStringLiteral("MS Sans Serif");
  auto label = [&](const QString& text, double l, double t, double w, double h) {
    auto* x = new ClickLabel(this);
    x->setText(text);
    x->setFont(designFont(sans, 8.25));
    layout.add(x, ControlKind::Label, l, t, w, h, 8.25);
    return x;
  };
  auto button = [&](const QString& text, double l, double t, double w, double h) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    b->setFont(designFont(sans, 8.25));
    layout.add(b, ControlKind::Button, l, t, w, h, 8.25);
    return b;
  };
  auto box = [&](double l, double t, double w, double h, int maxLength = 0) {
    auto* b = new KeyBox(this);
    b->setFont(designFont(sans, 8.25));
    if (maxLength > 0) b->setMaxLength(maxLength);
    b->preview = this;
    layout.add(b, ControlKind::TextBox, l, t, w, h, 8.25);
    return b;
  };
  auto frame = [&](const QString& text, double l, double t, double w, double h) {
    auto* f = new QGroupBox(text, this);
    f->setFont(designFont(sans, 8.25));
    layout.add(f, ControlKind::Frame, l, t, w, h, 8.25);
    return f;
  };
  auto option = [&](const QString& text, double l, double t, double w) {
    auto* o = new QRadioButton(text, this);
    o->setFont(designFont(sans, 8.25));
    layout.add(o, ControlKind::Option, l, t, w, 255, 8.25);
    connect(o, &QRadioButton::clicked, this, [this] { optionClick(); });
    return o;
  };

  Label1 = label(QStringLiteral("Select Option:"), 120, 120, 2900, 255);
  List1 = new QListWidget(this);
  List1->setFont(designFont(sans, 8.25));
  layout.add(List1, ControlKind::ListBox, 120, 400, 2900, 1000, 8.25);
  Command1 = button(QStringLiteral("Open Port"), 120, 1500, 1400, 375);
  Command2 = button(QStringLiteral("Close Port"), 1620, 1500, 1400, 375);
  Label4 = label(QStringLiteral("Listening"), 120, 1950, 2900, 255);
  Label4->hide();
  Frame2 = frame(QStringLiteral("Main Form Display"), 120, 2280, 2900, 800);
  OptBand = new QRadioButton(QStringLiteral("Band Map"), this);
  OptList = new QRadioButton(QStringLiteral("List"), this);
  layout.add(OptBand, ControlKind::Option, 240, 2560, 1300, 255, 8.25);
  layout.add(OptList, ControlKind::Option, 1600, 2560, 1300, 255, 8.25);
  OptBand->setChecked(true);
  chkDX = new QCheckBox(QStringLiteral("List DX Only (also controls main form)"), this);
  layout.add(chkDX, ControlKind::CheckBox, 120, 3180, 3100, 255, 8.25);
  connect(chkDX, &QCheckBox::toggled, this, [this](bool on) { intake.dxOnly = on; });
  Label2 = label(QStringLiteral("TNC cmd mode hex character:"), 120, 3560, 2300, 255);
  txtHex = box(2450, 3500, 570, 315, 2);
  Label7 = label(QStringLiteral("Telnet Host:"), 120, 3960, 1000, 255);
  txtTelnetHost = box(1150, 3900, 1870, 315);
  Label3 = label(QStringLiteral("Telnet Port:"), 120, 4360, 1000, 255);
  txtTelnetPort = box(1150, 4300, 700, 315, 5);
  // The host, port and command texts are written between quotes with
  // nothing escaped: a quote cannot enter them.
  for (KeyBox* b : {txtHex, txtTelnetHost, txtTelnetPort}) b->charFilter = [](int c) { return c == '"' ? 0 : c; };
  chkConvToHex = new QCheckBox(QStringLiteral("Convert to Hex"), this);
  layout.add(chkConvToHex, ControlKind::CheckBox, 1950, 4330, 1300, 255, 8.25);  // clear of Spot Last

  txtUnProcessed = new QPlainTextEdit(this);
  txtUnProcessed->setReadOnly(true);
  txtUnProcessed->setFont(designFont(QStringLiteral("Courier New"), 8.25));
  txtUnProcessed->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout.add(txtUnProcessed, ControlKind::TextBox, 3300, 120, 5580, 3400, 8.25);
  Label6 = label(QStringLiteral("Send text  (Ctrl  C or Esc for TNC Command mode):"), 3300, 3600, 5580, 255);
  txtSent = box(3300, 3880, 5580, 315);
  txtSent->onKeyPress = [this](int& k) { txtSent_KeyPress(k); };
  txtSent->onChange = [this] { txtSent_Change(); };
  Command3 = button(QStringLiteral("&Spot Last"), 3300, 4300, 1300, 375);
  cmdDone = button(QStringLiteral("&Done"), 7580, 4300, 1300, 375);

  fraBaud = frame(QStringLiteral("Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)"), 120, 4800,
                  5200, 620);
  for (size_t i = 0; i < 6; ++i)
    optBaud[i] = option(QString::fromLatin1(kBaudRows[i].caption), 240 + 840 * static_cast<double>(i), 5080, 800);
  fraPort = frame(QStringLiteral("Comm Port"), 5400, 4800, 3480, 620);
  for (size_t i = 0; i < 10; ++i)
    optComm[i] = option(QString::number(i + 1), 5480 + 340 * static_cast<double>(i), 5080, 340);
  fraParity = frame(QStringLiteral("Parity"), 120, 5500, 2300, 620);
  for (size_t i = 0; i < 3; ++i)
    optParity[i] = option(QString::fromLatin1(kParityRows[i].caption), 200 + 740 * static_cast<double>(i), 5780, 720);
  fraData = frame(QStringLiteral("Data Bits"), 2500, 5500, 1100, 620);
  for (size_t i = 0; i < 2; ++i)
    optData[i] = option(QString::fromLatin1(kDataRows[i].caption), 2580 + 500 * static_cast<double>(i), 5780, 480);
  fraStop = frame(QStringLiteral("Stop Bits"), 3700, 5500, 1100, 620);
  for (size_t i = 0; i < 2; ++i)
    optStop[i] = option(QString::fromLatin1(kStopRows[i].caption), 3780 + 500 * static_cast<double>(i), 5780, 480);
  fraPower = frame(QStringLiteral("Connection Power"), 4900, 5500, 2300, 620);
  for (size_t i = 0; i < 3; ++i)
    optPower[i] = option(QString::fromLatin1(kPowerRows[i].caption), 4980 + 740 * static_cast<double>(i), 5780, 720);
  Frame1 = frame(QStringLiteral("Handshaking"), 120, 6200, 5200, 620);
  for (size_t i = 0; i < 4; ++i)
    optHandshake[i] = option(QString::fromLatin1(kHandshakeCaptions[i]), 240 + 1250 * static_cast<double>(i), 6480, 1200);
  makeGroup(this, optBaud);
  makeGroup(this, optComm);
  makeGroup(this, optParity);
  makeGroup(this, optData);
  makeGroup(this, optStop);
  makeGroup(this, optPower);
  makeGroup(this, optHandshake);
  auto* display = new QButtonGroup(this);
  display->addButton(OptBand);
  display->addButton(OptList);
  // Frames are drawn behind their options.
  for (QGroupBox* f : {Frame2, fraBaud, fraPort, fraParity, fraData, fraStop, fraPower, Frame1}) f->lower();

  optBaud[5]->setChecked(true);
  optParity[1]->setChecked(true);
  optData[1]->setChecked(true);
  optStop[0]->setChecked(true);
  optPower[0]->setChecked(true);
  optHandshake[0]->setChecked(true);
  selectOnly(optComm, nullptr);

  connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
  // The window sees every key first (Esc and Ctrl+C from any control).
  for (QWidget* w : findChildren<QWidget*>())
    if (!qobject_cast<KeyBox*>(w)) w->installEventFilter(&previewFilter_);
}

void PacketSpotfrm::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  for (const QString& t : {kNone, kTnc, kTelnet, kAgw}) List1->addItem(t);
  List1->setCurrentRow(-1);
  EnableNone();
  SettingsLoading = 1;
  LoadSpotSettings();
  SettingsLoading = 0;
  intake.RxBuffer = QStringLiteral("\n");
}

void PacketSpotfrm::LoadSpotSettings() {
  QByteArray bytes;
  if (!readWholeFile(s_.progFile(QStringLiteral("PackSpot.txt")), bytes).ok) return;
  int read = 0;
  const SpotSettings f = SpotSettings::readValues(bytes, read);
  // The serial values and the transport go straight into the window's
  // variables as they are read: a short or mistyped file keeps those before
  // the fault (and Done writes them back), but sets no control.
  if (read >= 1) Baud = f.Baud;
  if (read >= 2) Parity = f.Parity;
  if (read >= 3) DataBits = f.DataBits;
  if (read >= 4) StopBits = f.StopBits;
  if (read >= 5) PortNumber = f.PortNumber;
  if (read >= 6) PowerLine = f.PowerLine;
  if (read >= 7) Transport = f.Transport;
  if (read >= 9) Handshake = f.Handshake;
  if (read < SpotSettings::kValues) return;
  chkConvToHex->setChecked(f.ConvToHex != 0);
  if (f.OptList) OptList->setChecked(true);
  txtHex->setText(f.Hex);
  txtTelnetPort->setText(f.TelnetPort);
  txtTelnetHost->setText(f.TelnetHost);
  for (int i = 0; i < List1->count(); ++i)
    if (List1->item(i)->text().compare(Transport, Qt::CaseInsensitive) == 0) List1->setCurrentRow(i);
  // A port outside 1..10 (0 in a file saved by a telnet user who never opened
  // a TNC) selects no port; the rest is applied all the same.
  selectOnly(optComm, PortNumber >= 1 && PortNumber <= 10 ? optComm[static_cast<size_t>(PortNumber - 1)] : nullptr);
  selectByValue(optBaud, kBaudRows, Baud);
  selectByValue(optParity, kParityRows, Parity);
  selectByValue(optData, kDataRows, DataBits);
  selectByValue(optStop, kStopRows, StopBits);
  selectByValue(optPower, kPowerRows, PowerLine);
  if (Handshake >= 1 && Handshake <= 4) selectOnly(optHandshake, optHandshake[static_cast<size_t>(Handshake - 1)]);
  SettingsLoading = 0;
  if (transportIs(kTnc)) EnableTNC();
  if (transportIs(kTelnet)) EnableTelnet();
  if (transportIs(kAgw)) EnableAGW();
  if (!transportIs(kNone)) Command1_Click();
}

bool PacketSpotfrm::SaveSpotSettings() {
  SpotSettings f;
  f.Baud = Baud;
  f.Parity = Parity;
  f.DataBits = DataBits;
  f.StopBits = StopBits;
  f.PortNumber = PortNumber;
  f.PowerLine = PowerLine;
  f.Transport = Transport;
  f.ConvToHex = chkConvToHex->isChecked() ? 1 : 0;
  f.Handshake = Handshake;
  f.ListDXOnly = chkDX->isChecked() ? 1 : 0;
  f.OptList = OptList->isChecked();
  f.Hex = txtHex->text();
  f.TelnetPort = txtTelnetPort->text();
  f.TelnetHost = txtTelnetHost->text();
  const QString path = s_.progFile(QStringLiteral("PackSpot.txt"));
  const FileResult r = writeWholeFile(path, f.toFile());
  // The old file stays whole; the choices stay in the window for another Done.
  if (!r.ok)
    dialogs().message(QStringLiteral("Unable to write file."),
                      QStringLiteral("The spotting settings could not be saved to %1: %2").arg(path, r.error),
                      Buttons::Ok);
  return r.ok;
}

QString PacketSpotfrm::listText() const {
  const QListWidgetItem* item = List1->currentItem();
  return item && List1->currentRow() >= 0 ? item->text() : QString();
}

void PacketSpotfrm::List1_Click() {
  chkDX->setChecked(false);
  if (SettingsLoading == 0) {
    Command2_Click();
    EnableNone();
    Transport = listText();
    if (transportIs(kTnc)) {
      selectOnly(optBaud, optBaud[3]);
      selectOnly(optParity, optParity[1]);
      selectOnly(optData, optData[1]);
      selectOnly(optStop, optStop[0]);
      selectOnly(optHandshake, optHandshake[2]);
      txtHex->setText(QStringLiteral("03"));
      EnableTNC();
    }
  }
  ShowSpotHelp();
  if (transportIs(kTelnet)) EnableTelnet();
  if (transportIs(kAgw)) EnableAGW();
  if (transportIs(kTnc))
    Label6->setText(QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
  else if (transportIs(kAgw))
    Label6->setText(QStringLiteral("Send text (use : to send cmds such as :C Varik or :D)"));
  else if (transportIs(kTelnet))
    Label6->setText(QStringLiteral("Type text to send and press enter:"));
}

void PacketSpotfrm::optionClick() {
  if (SettingsLoading == 0) Command2_Click();
}

namespace {
void enable(std::initializer_list<QWidget*> ws, bool on) {
  for (QWidget* w : ws) w->setEnabled(on);
}
}  // namespace

void PacketSpotfrm::EnableNone() {
  enable({Label7, txtTelnetHost, Label3, txtTelnetPort, Label2, txtHex, Frame2, OptBand, OptList, chkDX, Label6,
          txtSent, Command1, Command2, chkConvToHex},
         false);
  enable({Frame1, fraBaud, fraParity, fraData, fraStop, fraPort, fraPower}, false);
  for (QRadioButton* b : optHandshake) b->setEnabled(false);
  for (QRadioButton* b : optBaud) b->setEnabled(false);
  for (QRadioButton* b : optParity) b->setEnabled(false);
  for (QRadioButton* b : optData) b->setEnabled(false);
  for (QRadioButton* b : optStop) b->setEnabled(false);
  for (QRadioButton* b : optComm) b->setEnabled(false);
  for (QRadioButton* b : optPower) b->setEnabled(false);
}

void PacketSpotfrm::EnableTNC() {
  enable({Label2, txtHex, Frame2, OptBand, OptList, chkDX, Label6, txtSent, Command1, Command2, Label1, Label4}, true);
  enable({Frame1, fraBaud, fraParity, fraData, fraStop, fraPort, fraPower}, true);
  for (QRadioButton* b : optHandshake) b->setEnabled(true);
  for (QRadioButton* b : optBaud) b->setEnabled(true);
  for (QRadioButton* b : optParity) b->setEnabled(true);
  for (QRadioButton* b : optData) b->setEnabled(true);
  for (QRadioButton* b : optStop) b->setEnabled(true);
  for (QRadioButton* b : optComm) b->setEnabled(true);
  for (QRadioButton* b : optPower) b->setEnabled(true);
}

void PacketSpotfrm::EnableTelnet() {
  enable({Label7, txtTelnetHost, Label3, txtTelnetPort, Frame2, OptBand, OptList, chkDX, Label6, txtSent, Command1,
          Command2},
         true);
}

void PacketSpotfrm::EnableAGW() {
  enable({Frame2, OptBand, OptList, chkDX, Label6, txtSent, Command1, Command2}, true);
}

void PacketSpotfrm::ShowSpotHelp() {
  const QString t = listText();
  QString blocks;
  if (t.compare(kNone, Qt::CaseInsensitive) == 0) blocks = QStringLiteral("ABCDEF");
  else if (t.compare(kTnc, Qt::CaseInsensitive) == 0) blocks = QStringLiteral("CEF");
  else if (t.compare(kTelnet, Qt::CaseInsensitive) == 0) blocks = QStringLiteral("BE");
  else if (t.compare(kAgw, Qt::CaseInsensitive) == 0) blocks = QStringLiteral("DEF");
  QString text;
  for (QChar b : blocks) text += helpBlock(static_cast<char>(b.unicode()));
  intake.setMonitor(text);
  syncMonitor();
  txtUnProcessed->moveCursor(QTextCursor::Start);
}

void PacketSpotfrm::SetCommSettings() {
  if (transportIs(kNone)) return;
  Label4->show();
  if (int i = selectedIndex(optComm); i >= 0) PortNumber = i + 1;
  if (int i = selectedIndex(optBaud); i >= 0) Baud = QString::fromLatin1(kBaudRows[i].value);
  if (int i = selectedIndex(optParity); i >= 0) Parity = QString::fromLatin1(kParityRows[i].value);
  if (int i = selectedIndex(optData); i >= 0) DataBits = QString::fromLatin1(kDataRows[i].value);
  if (int i = selectedIndex(optStop); i >= 0) StopBits = QString::fromLatin1(kStopRows[i].value);
  QString baud = Baud;
  while (baud.endsWith(u' ')) baud.chop(1);
  PortSettings = baud + u',' + Parity + u',' + DataBits + u',' + StopBits;
  if (int i = selectedIndex(optPower); i >= 0) PowerLine = QString::fromLatin1(kPowerRows[i].value);
  if (int i = selectedIndex(optHandshake); i >= 0) Handshake = i + 1;
  if (transportIs(kTnc)) OpenCommPort();
}

void PacketSpotfrm::Command1_Click() {
  intake.setMonitor(QStringLiteral("** Attempting to Open Port **") + kCrLf2);
  if (comComm1->isOpen()) comComm1->close();
  if (!transportIs(kNone)) {
    Label4->show();
    if (isVisible()) txtSent->setFocus();
  }
  if (transportIs(kTnc)) SetCommSettings();
  else if (transportIs(kAgw)) OpenAGW();
  else if (transportIs(kTelnet)) OpenTelnet();
}

void PacketSpotfrm::Command2_Click() {
  if (!listening()) return;
  Label4->hide();
  appendMonitor(kCrLf2 + QStringLiteral("** Port Closed **"));
  TrimMonitor();
  if (comComm1->isOpen()) comComm1->close();
  Winsock1->close();
  intake.dropTelnetPartial();
  if (transportIs(kAgw)) {
    if (!ConnectedCall.isEmpty()) {
      agw->putDisconnect(ConnectedCall);
      setWindowTitle(QStringLiteral("DX Spotting Setup"));
      ConnectedCall.clear();
    }
    agwPartial_.clear();
    agw->closeLink();
  }
  Timer1.stop();
}

void PacketSpotfrm::Command3_Click() {
  const QString last = s_.QsoCount() > 0 ? s_.Log.rec(s_.QsoCount()).Call : QString();
  txtSent->setText(QStringLiteral("DX ") + QStringLiteral("Frequency in kHz ") + last);
  txtSent->setFocus();
  txtSent->setSelection(3, 16);
}

void PacketSpotfrm::cmdDone_Click() {
  if (!transportIs(kNone) && !listening()) Command1_Click();
  if (main_) main_->SavePref();
  SaveSpotSettings();
  sv_.PacketResize(listText(), OptList->isChecked());
  hide();
}

void PacketSpotfrm::Form_Activate() {
  if (transportIs(kNone)) return;
  TrimMonitor();
  syncMonitor();
  if (txtSent->isEnabled()) txtSent->setFocus();
}

void PacketSpotfrm::Form_KeyDown(int& keyCode, int shift) {
  if (!(keyCode == 27 || (keyCode == 67 && shift == 2))) return;
  chkDX->setChecked(false);
  if (!listening()) Command1_Click();
  if (comComm1->isOpen() && transportIs(kTnc)) {
    bool ok = false;
    const uint code = txtHex->text().trimmed().toUInt(&ok, 16);
    if (!ok || txtHex->text().trimmed().isEmpty()) return;
    comComm1->output(QByteArray(1, static_cast<char>(code & 0xFF)));
    keyCode = 0;
    txtSent->setFocus();
  }
  if (txtSent->text().isEmpty() && txtSent->isEnabled()) txtSent->setFocus();
}

void PacketSpotfrm::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (!ConnectedCall.isEmpty()) agw->putDisconnect(ConnectedCall);
  if (transportIs(kAgw)) agw->closeLink();
}

void PacketSpotfrm::closeEvent(QCloseEvent* e) {
  Form_Unload();
  e->accept();
  if (onClosedByUser) onClosedByUser();
}

void PacketSpotfrm::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}

void PacketSpotfrm::monitorChanged() {
  // The widget follows the raw text once the current pass is over: a burst
  // of lines lays the text out once, not once per line.
  if (mirrorPending_) return;
  mirrorPending_ = true;
  QTimer::singleShot(0, this, [this] { syncMonitor(); });
}

void PacketSpotfrm::syncMonitor() {
  mirrorPending_ = false;
  QString shown = intake.monitor();
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(u'\r', u'\n');
  if (txtUnProcessed->toPlainText() == shown) return;
  txtUnProcessed->setPlainText(shown);
  txtUnProcessed->moveCursor(QTextCursor::End);
}

}  // namespace fd
