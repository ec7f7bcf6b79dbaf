// What the other subsystems reach of the main window (MainWindow).
#include <QApplication>
#include <QKeyEvent>

#include "core/prefs.h"
#include "platform/platform.h"
#include "log/form1.h"

namespace fd {

KeyBox* Form1::field(Field f) const {
  switch (f) {
    case Field::Call: return txtCall;
    case Field::Class: return txtCK;
    case Field::Section: return txtSec;
  }
  return txtCall;
}

QString Form1::fieldText(Field f) const { return field(f)->text(); }

void Form1::setFieldText(Field f, const QString& text) { field(f)->setProgramText(text); }

void Form1::selectBand(const QString& band) {
  const int at = static_cast<int>(kBands.indexOf(band));
  if (at >= 0) BandCommand(at + 1);
}

void Form1::selectMode(const QString& mode) {
  if (kModes.contains(mode)) ModeCommand(mode);
}

void Form1::setCurFreq(const QString& mhz) { s.CurFreq = mhz; }

void Form1::setStatus(const QString& text) { lblDialog->setText(text); }

void Form1::setStatus(const QString& text, ColorValue back) {
  lblDialog->setText(text);
  lblDialog->setBackColor(back);
}

QString Form1::statusText() const { return lblDialog->text(); }

namespace {
const QString kRadioLostNotice = QStringLiteral("The radio's port went away: band and mode no longer follow it.");
}  // namespace

// The band and mode labels are where the operator reads these values: they
// carry the loss while it lasts, since any key typed into Call rewrites the
// status line. A duplicate report (red) or a keyboard CW or RTTY caption
// (light yellow) stays readable: then the labels alone tell.
void Form1::setRadioLost(bool lost) {
  if (lost == radioLost_) return;
  radioLost_ = lost;
  for (ClickLabel* l : {Label30, Label12}) l->setBackColor(lost ? kRadioLost : -1);
  const ColorValue back = lblDialog->backColor();
  if (lost) {
    lossNoticeShown_ = back != kStatusDupe && back != kLightYellow;
    if (!lossNoticeShown_) return;
    heldStatus_ = lblDialog->text();
    heldStatusBack_ = back;
    setStatus(kRadioLostNotice);
    dialogs().beep();
    return;
  }
  // Only a notice still standing is taken back; a line written since is the operator's.
  if (std::exchange(lossNoticeShown_, false) && lblDialog->text() == kRadioLostNotice && back == heldStatusBack_)
    setStatus(heldStatus_, heldStatusBack_);
}

void Form1::mnuopen2() { book.mnuopen2(); }

void Form1::SavePref() { prefs::SavePref(s); }

void Form1::focusCall() { txtCall->setFocus(Qt::OtherFocusReason); }

}  // namespace fd

namespace fd {

namespace {

// The spot area's controls, handed to the spotting subsystem.
class Form1SpotView final : public SpotView {
 public:
  explicit Form1SpotView(Form1& f) : f_(f) {}
  QTreeWidget* spotList() override { return f_.txtDX; }
  ClickLabel* bandMapArea() override { return f_.lblDX; }
  void setDupeLine(const QString& text, ColorValue back) override {
    f_.lblDupe->setText(text);
    f_.lblDupe->setBackColor(back);
  }
  QString dupeLine() const override { return f_.lblDupe->text(); }
  ColorValue dupeBack() const override { return f_.lblDupe->backColor(); }
  QWidget* bandMapLine() override { return f_.LineDX; }
  ClickLabel* spotLabel(int i) override { return f_.lblDXSpot[static_cast<size_t>(i)]; }
  ClickLabel* scaleLabel(int k) override { return f_.lblFreqSpot[static_cast<size_t>(k)]; }
  TwipLayout& layoutTable() override { return f_.layout; }
  void applyLayout() override { f_.applyLayout(); }
  double clientHeightTwips() const override { return f_.surface->height() * display().twipsPerPixel(); }
  void tabFromCall() override {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(f_.txtCall, &tab);
  }

 private:
  Form1& f_;
};

}  // namespace

SpotView* Form1::spotView() {
  if (!spotView_) spotView_ = std::make_unique<Form1SpotView>(*this);
  return spotView_.get();
}

}  // namespace fd
