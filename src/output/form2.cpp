#include "output/form2.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/windowrules.h"
#include "core/sharedprefs.h"
#include "output/savecommand.h"
#include "platform/platform.h"
#include "platform/registry.h"

namespace fd {

namespace {
const QString kSans = QStringLiteral("Arial");
constexpr double kFont = 9.75;
constexpr int kMaxDigits = 6;  // keeps every total and the band table in range

// The five boxes remembered between openings: registry value, shared tag.
struct Remembered {
  KeyBox* Form2::*box;
  const char* value;
  const char* tag;
};
const Remembered kRemembered[] = {
    {&Form2::Text5, "UserAddressName", "OWN_ADDRESS_NAME"}, {&Form2::Text6, "UserAddressLine1", "OWN_ADDRESS_Line1"},
    {&Form2::Text7, "UserAddressLine2", "OWN_ADDRESS_Line2"}, {&Form2::Text8, "UserEMail", "OWN_EMAIL"},
    {&Form2::Text10, "UserClubName", "OWN_CLUB_NAME"},
};
}  // namespace

int Form2::number(int keyAscii) { return keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9') ? keyAscii : 0; }

int Form2::Capital(int keyAscii) { return keyAscii >= 'a' && keyAscii <= 'z' ? keyAscii - 32 : keyAscii; }

Form2::Form2(ProgramState& state, QWidget* parent) : QDialog(parent), s(state) {
  setWindowTitle(QStringLiteral("Field Day Summary Sheet Information"));
  applyWindowRule(this, "Form2");
  layout.width = 9600;
  layout.height = 7200;
  layout.fontSize = kFont;

  // Drawn first, so every control lies above the frame and its lines.
  auto line = [this](QFrame::Shape shape, double x1, double y1, double x2, double y2) {
    auto* f = new QFrame(this);
    f->setFrameShape(shape);
    f->setFrameShadow(QFrame::Plain);
    f->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (shape == QFrame::Box) {
      layout.add(f, ControlKind::Frame, x1, y1, x2 - x1, y2 - y1);
    } else {
      TwipControl& c = layout.add(f, ControlKind::Line, x1, y1, x2 - x1, y2 - y1);
      c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    }
    return f;
  };
  Shape1 = line(QFrame::Box, 120, 120, 9000, 6480);
  Line1 = line(QFrame::HLine, 120, 2400, 9000, 2400);
  Line2 = line(QFrame::HLine, 120, 3720, 9000, 3720);

  auto label = [this](const QString& caption, double l, double t, double w) {
    auto* lb = new ClickLabel(this);
    lb->setText(caption);
    lb->setFont(designFont(kSans, kFont));
    layout.add(lb, ControlKind::Label, l, t + 30, w, 255, kFont);
    return lb;
  };
  auto box = [this](double l, double t, double w) {
    auto* b = new KeyBox(this);
    b->setFont(designFont(kSans, kFont));
    layout.add(b, ControlKind::TextBox, l, t, w, 315, kFont);
    return b;
  };
  auto check = [this](QWidget* parent, const QString& caption, double l, double t, double w) {
    auto* c = new QCheckBox(caption, parent);
    c->setFont(designFont(kSans, kFont));
    layout.add(c, ControlKind::CheckBox, l, t + 30, w, 255, kFont);
    return c;
  };
  auto numberBox = [](KeyBox* b) {
    b->setMaxLength(kMaxDigits);
    b->onKeyPress = [](int& k) { k = number(k); };
    b->charFilter = [](int k) { return number(k) == 8 ? 0 : number(k); };
  };
  auto capitalBox = [](KeyBox* b) {
    b->onKeyPress = [](int& k) { k = Capital(k); };
    b->charFilter = [](int k) { return Capital(k); };
  };

  // Row 1.
  label(QStringLiteral("Club or Group Name"), 240, 240, 1860);
  Text10 = box(2160, 240, 2880);
  label(QStringLiteral("Location"), 5160, 240, 840);
  Text1 = box(6000, 240, 2880);
  // Row 2.
  label(QStringLiteral("Check if you began setup prior to 1800 UTC Saturday"), 240, 600, 4740);
  Check1 = check(this, QString(), 5040, 600, 375);
  Check1->setChecked(true);
  label(QStringLiteral("Number of Participants"), 5460, 600, 2040);
  Text3 = box(7560, 600, 1320);
  numberBox(Text3);
  // Row 3.
  label(QStringLiteral("If Class B, list calls of ops:"), 240, 960, 2340);
  Text2 = box(2640, 960, 6240);
  capitalBox(Text2);
  // Row 4.
  label(QStringLiteral("Power Source:"), 240, 1320, 1320);
  Check2 = check(this, QStringLiteral("Generator"), 1560, 1320, 1320);
  Check3 = check(this, QStringLiteral("Battery"), 2880, 1320, 1080);
  Check4 = check(this, QStringLiteral("Commercial Mains"), 3960, 1320, 2040);
  Check5 = check(this, QStringLiteral("Other (list).."), 6000, 1320, 1440);
  Text15 = box(7500, 1320, 1380);
  // Row 5: the power choice.
  Frame4 = new QGroupBox(QStringLiteral("Maximum Power Output?"), this);
  Frame4->setFont(designFont(kSans, kFont));
  layout.add(Frame4, ControlKind::Frame, 240, 1680, 8640, 660, kFont);
  auto option = [this](const QString& caption, double l) {
    auto* o = new QRadioButton(caption, Frame4);
    o->setFont(designFont(kSans, kFont));
    layout.add(o, ControlKind::Option, l, 300, 2400, 255, kFont);
    return o;
  };
  Option9 = option(QStringLiteral("5 Watts or Less"), 240);
  Option10 = option(QStringLiteral("150 Watts or Less"), 3120);
  Option1 = option(QStringLiteral("Over 150 Watts"), 6000);
  Option10->setChecked(true);
  // Row 6.
  label(QStringLiteral("Call Sign of GOTA Station (Class 2A and Above):"), 240, 2520, 4260);
  Text9 = box(4560, 2520, 2400);
  // Row 7.
  label(QStringLiteral("QSO Totals for GOTA Station ONLY:"), 240, 2920, 3240);
  label(QStringLiteral("CW:   "), 3540, 2920, 600);
  Text11 = box(4140, 2920, 1020);
  label(QStringLiteral("DIG:   "), 5220, 2920, 600);
  Text12 = box(5820, 2920, 1020);
  label(QStringLiteral("PH:   "), 6900, 2920, 600);
  Text13 = box(7500, 2920, 1020);
  for (KeyBox* b : {Text11, Text12, Text13}) {
    numberBox(b);
    b->setText(QStringLiteral("0"));
    b->onLostFocus = [b] {
      if (!isNumericText(b->text())) b->setText(QStringLiteral("0"));
    };
  }
  // Row 8.
  label(QStringLiteral("List all calls of operators and # of QSO's of the GOTA station:"), 240, 3320, 5400);
  Text17 = box(5700, 3320, 3180);
  capitalBox(Text17);
  // Row 9: the bonus points' label beside its first three boxes, as row 4
  // has it; rows 10 to 12 below. The row is full: each width is its caption's
  // with a few pixels to spare, and the last box ends just inside the frame.
  label(QStringLiteral("Bonus Points:"), 240, 3840, 1200);
  Check6 = check(this, QStringLiteral("100% Emergency Power"), 1470, 3840, 2370);
  Check7 = check(this, QStringLiteral("W1AW Field Day Message"), 3870, 3840, 2550);
  Check10 = check(this, QStringLiteral("Location in a Public Place"), 6450, 3840, 2490);
  Check9 = check(this, QStringLiteral("Messages Relayed  (no.):"), 240, 4170, 2640);
  Text4 = box(2880, 4170, 600);
  numberBox(Text4);
  Check8 = check(this, QStringLiteral("Media Publicity"), 3600, 4170, 1740);
  Check11 = check(this, QStringLiteral("Satellite"), 5400, 4170, 1140);
  Check12 = check(this, QStringLiteral("Information Booth"), 6600, 4170, 2100);
  Check13 = check(this, QStringLiteral("Natural Power"), 240, 4500, 2820);
  Check14 = check(this, QStringLiteral("Message to SM"), 3120, 4500, 2820);
  Check15 = check(this, QStringLiteral("Site visited by invited officals"), 6000, 4500, 2880);
  Check16 = check(this, QStringLiteral("Non-traditional Mode (list)"), 240, 4830, 2640);
  Text14 = box(2880, 4830, 2040);
  Check17 = check(this, QStringLiteral("Youth Participation  (no.):"), 5040, 4830, 2580);
  Text18 = box(7680, 4830, 1200);
  // Rows 13 to 15: the submitter and the commands.
  label(QStringLiteral("Your Name:"), 240, 5430, 1500);
  Text5 = box(1800, 5430, 3600);
  label(QStringLiteral("Total Bonus Points:"), 5520, 5430, 1740);
  Text16 = box(7320, 5430, 1560);
  numberBox(Text16);
  label(QStringLiteral("Address Line 1:"), 240, 5775, 1500);
  Text6 = box(1800, 5775, 3600);
  label(QStringLiteral("Email Address:"), 5520, 5775, 1380);
  Text8 = box(6960, 5775, 1920);
  label(QStringLiteral("Address Line 2:"), 240, 6120, 1500);
  Text7 = box(1800, 6120, 3600);
  auto button = [this](const QString& caption, double l, double w) {
    auto* b = new QPushButton(caption, this);
    b->setFont(designFont(kSans, kFont));
    b->setAutoDefault(false);  // Enter in a box neither writes nor closes
    b->setDefault(false);
    layout.add(b, ControlKind::Button, l, 6135, w, 315, kFont);
    return b;
  };
  Command1 = button(QStringLiteral("Write Summary File"), 5520, 2040);
  Command3 = button(QStringLiteral("Done"), 7680, 1200);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

  const QList<QWidget*> order = {Text10, Text1, Check1, Text3, Text2, Check2, Check3, Check4, Check5, Text15,
                                 Option9, Option10, Option1, Text9, Text11, Text12, Text13, Text17, Check6, Check7,
                                 Check10, Check9, Text4, Check8, Check11, Check12, Check13, Check14, Check15, Check16,
                                 Text14, Check17, Text18, Text16, Text5, Text6, Text7, Text8, Command1, Command3};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  Form_Load();
}

void Form2::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  for (const Remembered& r : kRemembered)
    (this->*r.box)->setText(registry().get(QString::fromLatin1(r.value), QString()));
  // Counted once, here: the window is modal, so the log cannot change meanwhile.
  BandModeCount = countBandModes(s.Log);
  Text10->setFocus();  // the first box of the tab order
}

SummaryForm Form2::values() const {
  SummaryForm f;
  f.Text2 = Text2->text(), f.Text3 = Text3->text(), f.Text4 = Text4->text(), f.Text5 = Text5->text();
  f.Text6 = Text6->text(), f.Text7 = Text7->text(), f.Text8 = Text8->text(), f.Text9 = Text9->text();
  f.Text10 = Text10->text(), f.Text11 = Text11->text(), f.Text12 = Text12->text(), f.Text13 = Text13->text();
  f.Text14 = Text14->text(), f.Text15 = Text15->text(), f.Text16 = Text16->text(), f.Text17 = Text17->text();
  f.Text18 = Text18->text();
  f.Check2 = Check2->isChecked(), f.Check3 = Check3->isChecked(), f.Check4 = Check4->isChecked();
  f.Check5 = Check5->isChecked(), f.Check6 = Check6->isChecked(), f.Check7 = Check7->isChecked();
  f.Check8 = Check8->isChecked(), f.Check9 = Check9->isChecked(), f.Check10 = Check10->isChecked();
  f.Check11 = Check11->isChecked(), f.Check12 = Check12->isChecked(), f.Check13 = Check13->isChecked();
  f.Check14 = Check14->isChecked(), f.Check15 = Check15->isChecked(), f.Check16 = Check16->isChecked();
  f.Check17 = Check17->isChecked();
  f.power = Option9->isChecked()    ? SummaryForm::Power::Qrp
            : Option1->isChecked() ? SummaryForm::Power::High
                                   : SummaryForm::Power::Low;
  return f;
}

void Form2::Command1_Click() {
  s.MyCall = s.MyCall.trimmed();
  const QString proposed = s.FieldDayDir + u'/' + CallToFileStem(s.MyCall) + QStringLiteral(".sum");
  const QString path = askSaveFileName(proposed, QStringLiteral("ADIF Files (*.sum) | *.sum"));
  if (path.isEmpty()) return;  // cancelled: nothing written, nothing stored
  for (KeyBox* b : {Text16, Text11, Text12, Text13})
    if (!isNumericText(b->text())) b->setText(QStringLiteral("0"));
  const TextWriter text = summaryText(values(), BandModeCount, stationOf(s), clock().localNow().date());
  if (!reportWrite(text.writeTo(path))) return;
  Command3->setFocus();
  dialogs().message(QStringLiteral("File Written Successfully."),
                    QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + path +
                        QStringLiteral(".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  "
                                       "If you wish to print this file, you can open it with Notepad or Wordpad to print."),
                    Buttons::Ok);
  if (s.QsoCount() > 0) {
    dialogs().message(
        QStringLiteral("EARN 50 Extra Bonus Points!"),
        QStringLiteral("A 50-point bonus may be claimed by any group that submits its Field Day entry through the web "
                       "entry site at https://field-day.arrl.org.  The bonus is available to all entry classes.\r\n\r\n"
                       "Using the web site is a very easy way to submit your Field Day entry!  Simply open the summary "
                       "file that you just created in Notepad or Wordpad.  You will see the QSO totals by band to "
                       "enter in the web form."),
        Buttons::Ok);
    dialogs().message(QStringLiteral("  Thanks!"),
                      QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a "
                                     "friend!\r\n\r\n73,\r\nVarik Software"),
                      Buttons::Ok);
  }
  storeRemembered();
}

// The registry first, then the shared preferences file, written once after
// the last tag. A failure is reported after the success boxes: the file
// itself was written.
void Form2::storeRemembered() {
  FileResult r;
  for (const Remembered& x : kRemembered) {
    r = registry().set(QString::fromLatin1(x.value), (this->*x.box)->text().trimmed());
    if (!r.ok) break;
  }
  // Save flag 1 on the last tag only: the shared file is written once.
  for (size_t i = 0; r.ok && i < std::size(kRemembered); ++i)
    r = SetPrefTag(s, QString::fromLatin1(kRemembered[i].tag), (this->*kRemembered[i].box)->text().trimmed(),
                   i + 1 == std::size(kRemembered) ? 1 : 0);
  reportWrite(r);
}

}  // namespace fd
