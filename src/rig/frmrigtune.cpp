#include "rig/frmrigtune.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/windowrules.h"
#include "platform/numtext.h"
#include "platform/platform.h"
#include "rig/rigcontrolfrm.h"

namespace fd {
namespace {

struct Band { const char* caption; const char* mhz; };
const Band kTuneBands[16] = {{"160", "1.9"},  {"80", "3.75"},  {"60", "5.368"},  {"40", "7.15"},
                         {"30", "10.13"}, {"20", "14.175"}, {"17", "18.118"}, {"15", "21.225"},
                         {"12", "24.94"}, {"10", "28.5"},  {"6", "52"},      {"2", "146"},
                         {"1.25", "223.5"}, {"70", "435"}, {"33", "915"},    {"23", "1270"}};
struct Step { const char* caption; double mhz; };
const Step kSteps[5] = {{"10 Hz", 0.00001}, {"1 MHz", 1}, {"5 KHz", 0.005}, {"1 KHz", 0.001}, {"100 Hz", 0.0001}};

}  // namespace

frmRigTune::frmRigTune(ProgramState& state, std::function<RigControlfrm*()> rig, QWidget* parent)
    : QDialog(parent), s_(state), rig_(std::move(rig)) {
  setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
  applyWindowRule(this, "frmRigTune");
  layout.width = 6600;
  layout.height = 4300;
  auto label = [&](const QString& t, double l, double top, double w) {
    auto* x = new QLabel(t, this);
    layout.add(x, ControlKind::Label, l, top, w, 255, 8.25);
    return x;
  };
  auto button = [&](const QString& t, double l, double top, double w) {
    auto* b = new QPushButton(t, this);
    b->setAutoDefault(false);  // Enter in the box runs Go, not a button
    layout.add(b, ControlKind::Button, l, top, w, 360, 8.25);
    return b;
  };
  auto box = [&](double l, double top, double w) {
    auto* b = new KeyBox(this);
    b->preview = this;
    b->charFilter = [](int c) { return frequencyChar(c); };
    layout.add(b, ControlKind::TextBox, l, top, w, 315, 8.25);
    return b;
  };
  Label1 = label(QStringLiteral("Frequency in MHz:"), 120, 150, 1500);
  txtFreq = box(1650, 120, 1500);
  txtFreq->onChange = [this] { txtFreq_Change(); };
  txtFreq->onKeyPress = [this](int& k) {
    if (k == 13) {
      k = 0;
      Command1_Click();
      txtFreq->setFocus();
      txtFreq->setCursorPosition(txtFreq->text().size());
      return;
    }
    k = frequencyChar(k);
  };
  Command1 = button(QStringLiteral("&Go"), 3300, 100, 900);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  for (int i = 0; i < 16; ++i) {
    auto* b = button(QString::fromLatin1(kTuneBands[i].caption), 120 + (i % 8) * 800, 600 + (i / 8) * 420, 760);
    connect(b, &QPushButton::clicked, this, [this, i] { cmdBand_Click(i); });
    cmdBand << b;
  }
  Label2 = label(QStringLiteral(" UP"), 120, 1540, 600);
  Label3 = label(QStringLiteral(" Down"), 120, 1960, 600);
  for (int i = 0; i < 10; ++i) {
    auto* b = button(QString::fromLatin1(kSteps[i / 2].caption), 760 + (i / 2) * 1150, 1480 + (i % 2) * 420, 1100);
    b->setEnabled(false);
    connect(b, &QPushButton::clicked, this, [this, i] { cmdTune_Click(i); });
    cmdTune << b;
  }
  const char* modes[] = {"&AM", "&CW", "&FM", "&LSB", "&RTTY", "&USB"};
  QPushButton** modeButtons[] = {&cmdAM, &cmdCW, &cmdFM, &cmdLSB, &cmdRTTY, &cmdUSB};
  for (int i = 0; i < 6; ++i) {
    *modeButtons[i] = button(QString::fromLatin1(modes[i]), 120 + i * 1070, 2440, 1000);
    const QString mode = QString::fromLatin1(modes[i]).remove(u'&');
    connect(*modeButtons[i], &QPushButton::clicked, this, [this, mode] { modeClick(mode); });
  }
  chkScan = new QCheckBox(QStringLiteral("Scan"), this);
  layout.add(chkScan, ControlKind::CheckBox, 120, 3000, 900, 255, 8.25);
  connect(chkScan, &QCheckBox::clicked, this, [this] { chkScan_Click(); });
  Label4 = label(QStringLiteral("From:"), 120, 3360, 600);
  txtFrom = box(760, 3330, 1000);
  txtFrom->setText(QStringLiteral("1.8"));
  Label5 = label(QStringLiteral("To:"), 120, 3760, 600);
  txtTo = box(760, 3730, 1000);
  txtTo->setText(QStringLiteral("54"));
  for (KeyBox* b : {txtFrom, txtTo})
    b->onKeyPress = [](int& k) { k = k == 13 ? 0 : frequencyChar(k); };
  Frame1 = new QGroupBox(QStringLiteral("Scan Steps"), this);
  layout.add(Frame1, ControlKind::Frame, 1900, 2950, 3000, 1200, 8.25);
  auto* g = new QButtonGroup(this);
  QRadioButton** opts[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
  const char* optText[] = {"500 Hz", "100 Hz", "30 Hz", "10 Hz", "2.5 KHz"};
  for (int i = 0; i < 5; ++i) {
    *opts[i] = new QRadioButton(QString::fromLatin1(optText[i]), Frame1);
    g->addButton(*opts[i]);
    layout.add(*opts[i], ControlKind::Option, 120 + (i % 3) * 950, 300 + (i / 3) * 400, 900, 255, 8.25);
  }
  Option4->setChecked(true);
  cmdDone = button(QStringLiteral("&Done"), 5100, 3700, 1300);
  connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
  // Every key reaches the window first (a key stops the scan).
  auto* filter = new KeyPreviewFilter(this, this);
  for (QWidget* w : findChildren<QWidget*>())
    if (!qobject_cast<KeyBox*>(w)) w->installEventFilter(filter);
  Timer1.setInterval(299);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  Form_Load();
}

void frmRigTune::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  txtFreq->setFocus();
  Timer1.start();
}

bool frmRigTune::numeric(const QString& text, double* value) {
  bool ok = false;
  const double v = text.trimmed().toDouble(&ok);
  if (ok && value) *value = v;
  return ok && !text.trimmed().isEmpty();
}

int frmRigTune::frequencyChar(int k) { return (k == 8 || (k >= 46 && k <= 57)) ? k : 0; }

QString frmRigTune::scanText(double mhz) {
  QString t = QString::number(mhz, 'f', 5);
  while (t.endsWith(u'0')) t.chop(1);
  if (t.endsWith(u'.')) t.chop(1);
  return t;
}

void frmRigTune::Command1_Click() {
  double f = 0;
  if (!numeric(txtFreq->text(), &f)) return;
  if (s_.RigType == u"None") return;
  const float mhz = static_cast<float>(f);
  if (RigControlfrm* r = rig_()) r->ChangeFrequency(mhz);
}

void frmRigTune::cmdBand_Click(int index) {
  txtFreq->setProgramText(QString::fromLatin1(kTuneBands[index].mhz));
  Command1_Click();
}

void frmRigTune::cmdTune_Click(int index) {
  double f = 0;
  if (!numeric(txtFreq->text(), &f)) return;
  const double step = kSteps[index / 2].mhz;
  f = index % 2 == 0 ? f + step : f - step;
  txtFreq->setProgramText(numtext::fromDouble(f));
  Command1_Click();
  cmdDone->setFocus();
}

void frmRigTune::modeClick(const QString& mode) {
  QString m = mode;
  const float zero = 0;
  if (RigControlfrm* r = rig_()) r->ChangeMode(zero, m);
  cmdDone->setFocus();
}

void frmRigTune::cmdDone_Click() {
  Timer1.stop();
  hide();
}

void frmRigTune::chkScan_Click() {
  if (chkScan->isChecked() && !numeric(txtFreq->text())) txtFreq->setProgramText(txtFrom->text());
  Command1->setFocus();
}

void frmRigTune::Timer1_Timer() {
  if (!chkScan->isChecked()) return;
  RigControlfrm* r = s_.RigType == u"None" ? nullptr : rig_();
  if (r && r->commandBusy()) return;  // a tune is still on its way
  // The radio's port is away: the scan waits for it rather than telling
  // at every step that the tune cannot happen.
  if (r && r->portLost()) return;
  double f = 0, from = 0, to = 0;
  if (!numeric(txtFrom->text(), &from) || !numeric(txtTo->text(), &to) || !numeric(txtFreq->text(), &f)) return;
  // Double precision: a 10 Hz step is not lost at 1270 MHz.
  double step = 0;
  if (Option1->isChecked()) step = 0.0005;
  else if (Option2->isChecked()) step = 0.0001;
  else if (Option3->isChecked()) step = 0.00003;
  else if (Option4->isChecked()) step = 0.00001;
  else if (Option5->isChecked()) step = 0.0025;
  f += step;
  if (f > to + 1e-9) f = from;
  txtFreq->setProgramText(scanText(f));
  Command1_Click();
}

void frmRigTune::txtFreq_Change() {
  const bool ok = numeric(txtFreq->text());
  for (QPushButton* b : cmdTune) b->setEnabled(ok);
}

void frmRigTune::previewKeyPress(int&) {
  if (chkScan->isChecked()) {
    chkScan->setChecked(false);
    chkScan_Click();
  }
}

}  // namespace fd
