// What the other subsystems reach of the main window (MainWindow).
#include "core/prefs.h"
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

void Form1::mnuopen2() { book.mnuopen2(); }

void Form1::SavePref() { prefs::SavePref(s); }

void Form1::focusCall() { txtCall->setFocus(Qt::OtherFocusReason); }

}  // namespace fd
