#include "keying/codepracticefrm.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/windowrules.h"
#include "keying/formparts.h"
#include <QRadioButton>

#include "core/state.h"
#include "keying/codepractice.h"
#include "keying/cwkeyer.h"
#include "platform/platform.h"

namespace fd {

frmCodePractice::frmCodePractice(CWKeyer& keyer, QWidget* parent) : QDialog(parent), k_(keyer) {
  setWindowTitle(QStringLiteral("On the Air Code Practice"));
  applyWindowRule(this, "frmCodePractice");
  setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
  auto label = [&](const QString& text, double l, double t, double w, double h = 255) {
    return formparts::label(this, layout, text, l, t, w, h);
  };
  auto box = [&](double l, double t, double w, double h, bool mono) {
    auto* b = new KeyBox(this);
    if (mono) b->setFont(designFont(QStringLiteral("Courier New"), 9.75));
    layout.add(b, ControlKind::TextBox, l, t, w, h, mono ? 9.75 : 8.25);
    return b;
  };
  auto button = [&](const QString& text, double l, double t, double w) {
    return formparts::button(this, layout, text, l, t, w);
  };
  label(QStringLiteral("You can transmit morse code practice using randomly generated characters, copying and pasting "
                       "text or typing text into the \"Text to Send\" text box.  Click Send to send the characters. "),
        240, 120, 9120, 480);
  label(QStringLiteral(" Text to Send"), 240, 720, 3000);
  Text1 = box(240, 1000, 9120, 1400, true);
  label(QStringLiteral(" Text Sent"), 240, 2520, 3000);
  Text2 = box(240, 2800, 9120, 1000, true);
  label(QStringLiteral("Generate"), 240, 3960, 900);
  Text3 = box(1140, 3930, 600, 285, false);
  label(QStringLiteral("groups of"), 1860, 3960, 900);
  Text4 = box(2760, 3930, 600, 285, false);
  label(QStringLiteral("characters each."), 3480, 3960, 1600);
  auto* frame = new QGroupBox(QStringLiteral("Include:"), this);
  layout.add(frame, ControlKind::Frame, 5400, 3840, 2400, 900, 8.25);
  Option1 = new QRadioButton(QStringLiteral("Letters Only"), this);
  layout.add(Option1, ControlKind::Option, 5520, 4080, 2200, 285, 8.25);
  Option2 = new QRadioButton(QStringLiteral("All"), this);
  layout.add(Option2, ControlKind::Option, 5520, 4380, 2200, 285, 8.25);
  frame->lower();
  Command2 = button(QStringLiteral("&Generate Random Characters"), 240, 4440, 3000);
  Command1 = button(QStringLiteral("&Paste from Clipboard"), 240, 4920, 3000);
  Command3 = button(QStringLiteral("&Send"), 3360, 4920, 1100);
  Command4 = button(QStringLiteral("S&top"), 4560, 4920, 1100);
  Command6 = button(QStringLiteral("&Clear"), 5760, 4920, 1100);
  Command5 = button(QStringLiteral("Cl&ear"), 6960, 4920, 1100);
  Command7 = button(QStringLiteral("&Faster"), 240, 5520, 1100);
  Command8 = button(QStringLiteral("S&lower"), 1440, 5520, 1100);
  Label8 = label(QString(), 2700, 5580, 600);
  label(QStringLiteral("WPM"), 3360, 5580, 600);
  label(QStringLiteral("Type characters here to send text from keyboard:"), 240, 6120, 4800);
  Text5 = box(5160, 6090, 4200, 285, false);
  Text3->setText(QStringLiteral("10"));
  Text4->setText(QStringLiteral("5"));
  Option2->setChecked(true);
  Label8->setText(k_.set.Text[11]);
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  rng = clockSeededGenerator();

  Text1->onKeyPress = [](int& k) { if (k >= 'a' && k <= 'z') k -= 32; };
  Text5->onKeyPress = [this](int& k) { Text5_KeyPress(k); };
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Text1->setText(QApplication::clipboard()->text()); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(Command6, &QPushButton::clicked, this, [this] { Text1->clear(); });
  connect(Command5, &QPushButton::clicked, this, [this] { Text2->clear(); });
  connect(Command7, &QPushButton::clicked, this, [this] { k_.UpDown1_UpClick(); Label8->setText(k_.set.Text[11]); });
  connect(Command8, &QPushButton::clicked, this, [this] { k_.UpDown1_DownClick(); Label8->setText(k_.set.Text[11]); });
}

frmCodePractice::~frmCodePractice() = default;

void frmCodePractice::Command2_Click() {
  QString count = Text3->text(), length = Text4->text();
  if (reseed) rng = clockSeededGenerator();
  const std::optional<QString> text = generatePractice(count, length, Option1->isChecked(), rng);
  Text3->setText(count);
  Text4->setText(length);
  if (!text) {
    dialogs().message(QStringLiteral("Too many characters."),
                      QStringLiteral("Generate makes at most %1 characters (groups x (length + 1)).").arg(kMaxPracticeChars),
                      Buttons::Ok);
    return;
  }
  Text1->setText(*text);
}

void frmCodePractice::Command3_Click() {
  if (sending_) return;
  sending_ = true;
  PracticeText = Text1->text();
  Text1->setFocus(Qt::OtherFocusReason);  // typing goes on in the text while it is sent
  for (int i = 0; i < PracticeText.size() && !closeAfterSend_; ++i) {
    PracticeText = Text1->text();  // edits made while sending take effect
    if (i >= PracticeText.size()) break;
    k_.s.CWBuffer = PracticeText.mid(i, 1);
    // The caret goes after the character before it is keyed: the keyer lets
    // typed keys in while it sends, and a key typed then must land after the
    // character in hand (else that character goes twice and the key never).
    Text1->setCursorPosition(i + 1);
    if (k_.s.CWSending == 0) k_.LoopThroughCWBuffer();
    if (closeAfterSend_) break;  // closed (or its owner unloaded) meanwhile: the window is left alone
    Text2->setText(Text2->text() + PracticeText.mid(i, 1));
    Text2->setCursorPosition(static_cast<int>(Text2->text().size()) - 1);  // the end stays in view
    QCoreApplication::processEvents();
  }
  sending_ = false;
  if (closeAfterSend_) {
    closeAfterSend_ = false;
    hide();  // the window goes only after its loop has returned
  }
}

void frmCodePractice::Command4_Click() {
  // The Send loop ends at its next length test.
  PracticeText.clear();
  k_.s.CWBuffer.clear();
}

void frmCodePractice::Text5_KeyPress(int& k) {
  if (k >= 'a' && k <= 'z') k -= 32;
  if (k != 8) {
    Text2->setText(Text2->text() + QChar(k));
    k_.s.CWBuffer += QChar(k);
    if (k_.s.CWSending == 0) k_.LoopThroughCWBuffer();
  } else {
    if (!k_.s.CWBuffer.isEmpty()) k_.s.CWBuffer.chop(1);
    if (!Text2->text().isEmpty()) Text2->setText(Text2->text().chopped(1));
  }
  k = 0;  // the box never shows what is typed
}

void frmCodePractice::reject() { close(); }

void frmCodePractice::closeEvent(QCloseEvent* e) {
  k_.s.CWBuffer.clear();
  PracticeText.clear();
  // A key-line drain in hand: refused once, as the design says; the emptied
  // buffer ends the drain. A Send loop on the WinKey path stops, and the
  // window goes once the loop has returned.
  if (k_.s.CWSending == 1) {
    e->ignore();
    return;
  }
  if (sending_) {
    closeAfterSend_ = true;
    e->ignore();
    return;
  }
  e->accept();
}

}  // namespace fd
