// Entry fields: the key rules of call, class and section, the carries from
// field to field, the enter, leave and change steps, and Clear.
#include "log/form1.h"
#include "log/keyrules.h"
#include "platform/platform.h"

namespace fd {
namespace {
constexpr ColorValue kButtonFace = -1;  // a label without its own background shows the window's face colour
}

void Form1::Capital(int& keyAscii) { keyAscii = keyrules::capital(keyAscii); }
void Form1::number(int& keyAscii) { keyAscii = keyrules::number(keyAscii); }

QList<KeyBox*> Form1::entryFields() const { return {txtCall, txtCK, txtSec, txtPostConTime, txtPostConDate}; }

void Form1::connectEntry() {
  txtCall->onKeyPress = [this](int& k) { txtCall_KeyPress(k); };
  txtCK->onKeyPress = [this](int& k) { txtCK_KeyPress(k); };
  txtSec->onKeyPress = [this](int& k) { txtSec_KeyPress(k); };
  txtPostConTime->onKeyPress = [this](int& k) { txtPostConTime_KeyPress(k); };
  txtPostConDate->onKeyPress = [this](int& k) { txtPostConDate_KeyPress(k); };

  // The save step's own cursor moves are not the operator entering or leaving a field.
  auto step = [this](void (Form1::*f)()) {
    return [this, f] {
      if (!programMovesCursor) (this->*f)();
    };
  };
  txtCall->onGotFocus = step(&Form1::txtCall_GotFocus);
  txtCall->onLostFocus = step(&Form1::txtCall_LostFocus);
  txtCall->onChange = [this] { txtCall_Change(); };
  txtCK->onGotFocus = step(&Form1::txtCK_GotFocus);
  txtCK->onLostFocus = step(&Form1::txtCK_LostFocus);
  txtSec->onGotFocus = step(&Form1::txtSec_GotFocus);
  txtPostConTime->onGotFocus = step(&Form1::txtPostConTime_GotFocus);
  txtPostConDate->onGotFocus = step(&Form1::txtPostConDate_GotFocus);

  // Pasted text is not typed: only the character filter of the box applies,
  // and blanks, which move on when typed, are dropped.
  for (KeyBox* b : {txtCall, txtCK, txtSec}) {
    b->charFilter = keyrules::capital;
    b->dropPastedBlanks = true;
  }
  txtCall->onPaste = [this] { txtCall_Pasted(); };
  txtPostConTime->charFilter = keyrules::timeKey;
  txtPostConDate->charFilter = keyrules::dateKey;

  connectList();
  Timer1.start();
  Timer2.start();
}

void Form1::sendTab() {
  const QList<KeyBox*> order = entryFields();
  int at = 0;
  for (int i = 0; i < order.size(); ++i)
    if (order[i]->hasFocus()) at = i;
  for (int step = 1; step <= order.size(); ++step) {
    KeyBox* next = order[(at + step) % order.size()];
    if (!next->isHidden()) {
      next->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void Form1::txtCall_KeyPress(int& keyAscii) {
  cmdEdit->hide();
  cmdDelete->hide();
  const QString before = txtCall->text();
  const int dupesBefore = dupesFound;

  if (keyrules::callCarriesKey(before, keyAscii, txtCall->selStart())) {
    s.KeyCarry = QString::number(keyAscii);
    s.KeyState = 4;
    txtCK->setFocus(Qt::OtherFocusReason);  // runs the duplicate check of the call field
    if (dupesFound != dupesBefore) {
      // The entry was just refused and emptied: the digit belongs to nothing.
      s.KeyState = 0;
      keyAscii = 0;
    } else {
      txtCK_KeyPress(keyAscii);
      keyAscii = 32;
    }
  }

  if (before.size() < 3) setStatus(QStringLiteral(" "));
  if (keyAscii == 13) {
    keyAscii = 0;
    const int countBefore = s.QsoCount();
    Mains();
    if (s.QsoCount() == countBefore) keepStatusOnce = true;  // refused: its message stays
  }
  if (keyAscii == 32 && s.KeyState != 4) {
    keyAscii = 0;
    txtCK->setFocus(Qt::OtherFocusReason);
  }
  Capital(keyAscii);
  // A duplicate found by this key's focus move or save step stays readable.
  if (dupesFound != dupesBefore) keepStatusOnce = true;
  fitDupeFont();
  PartialCheck(keyAscii);
  if (s.DupeFlag == 1) DupeHoldDelay(keyAscii);
}

void Form1::fitDupeFont() {
  // Kept in the layout too, so a later refit of the window keeps this size.
  const double dupeFont = 10.0 * (display().widthTwips() / 9600.0) * s.FormSizePct / 100.0;
  if (TwipControl* c = layout.find(lblDupe)) c->fontSize = dupeFont;
  QFont f = lblDupe->font();
  f.setPointSizeF(dupeFont);
  lblDupe->setFont(f);
}

// Pasted text is no key: no carry, no focus move, no save, and the duplicate
// hold neither waits nor ends. The partial list and the status line are
// those of the new call, as if its last character had just been typed.
void Form1::txtCall_Pasted() {
  cmdEdit->hide();
  cmdDelete->hide();
  const QString call = txtCall->text();
  fitDupeFont();
  if (call.isEmpty()) partialCheckFor(QString(), 0);
  else partialCheckFor(call.chopped(1), call.back().unicode());
}

// Class and section fields: Enter saves; Space moves on; other keys are upper-cased.
void Form1::enterOrSpace(int& keyAscii, const std::function<void()>& moveOn) {
  if (keyAscii == 13) {
    keyAscii = 0;
    Mains();
    return;
  }
  if (keyAscii == 32) {
    keyAscii = 0;
    moveOn();
  }
  Capital(keyAscii);
}

void Form1::txtCK_KeyPress(int& keyAscii) {
  if (keyrules::classCarriesKey(txtCK->text(), keyAscii)) {
    s.KeyCarry = QString::number(keyAscii);
    s.KeyState = 3;
    txtSec_KeyPress(keyAscii);
    keyAscii = 32;
  }
  if (s.KeyState == 4) keyAscii = s.KeyCarry.toInt();
  enterOrSpace(keyAscii, [this] { txtSec->setFocus(Qt::OtherFocusReason); });
  if (s.KeyState == 4) {
    txtCK->setText(QString(QChar(static_cast<char16_t>(keyAscii))));
    txtCK->setCursorPosition(1);
    s.KeyState = 0;
  }
}

void Form1::txtSec_KeyPress(int& keyAscii) {
  if (s.KeyState == 3) keyAscii = s.KeyCarry.toInt();
  enterOrSpace(keyAscii, [this] { sendTab(); });
  if (s.KeyState == 3) {
    txtSec->setText(QString(QChar(static_cast<char16_t>(keyAscii))));
    txtSec->setCursorPosition(1);
    s.KeyState = 0;
  }
}

void Form1::txtCall_Change() {
  s.CallText = txtCall->text();
  if (s.CurMode == QLatin1String("DIG") && s.DigLinkUp == 1) sv.keying->setDigitalCall(s.CallText);
}

void Form1::txtCall_GotFocus() {
  cmdEdit->hide();
  cmdDelete->hide();
  lblDupe->setBackColor(kButtonFace);
  lblDupe->setText(QString());
  if (s.VoiceNavMode != 0) sv.keying->blindKeyPhone(QStringLiteral("Call"));
  // Puts the normal list back after the duplicate check listed a call's contacts.
  const int rows = ListView1->topLevelItemCount();
  if (txtCall->text().isEmpty() && rows < s.QsoCount() && rows < 18 && s.FindActive == 0) FillList();
  s.FindActive = 0;
}

void Form1::txtCall_LostFocus() {
  if (!txtCall->text().isEmpty()) dupcheck();
}

void Form1::txtCK_GotFocus() {
  if (s.VoiceNavMode > 1) sv.keying->blindKeyPhone(QStringLiteral("Class"));
}

void Form1::txtCK_LostFocus() {
  if (!keyrules::validClassDesignator(txtCK->text())) {
    dialogs().beep();
    setStatus(QStringLiteral("Invalid Designator!"));
  }
}

void Form1::txtSec_GotFocus() {
  if (s.VoiceNavMode > 1) sv.keying->blindKeyPhone(QStringLiteral("Section"));
  if (!keyrules::deltaPair(Label1->text(), txtCK->text())) return;
  const Answer a = dialogs().message(
      QStringLiteral("Delta Stations Can't Work Other Delta Stations!"),
      QStringLiteral("Delta stations (stations on commercial power) are not allowed to work other Delta Stations.  "
                     "Do you want to clear this entry?"),
      Buttons::YesNo);
  if (a == Answer::Yes) {
    cmdClear_Click();
    txtCall->setFocus(Qt::OtherFocusReason);
  }
}

void Form1::cmdClear_Click() {
  txtCall->clear();
  txtCK->clear();
  txtSec->clear();
  setStatus(QString(), kStatusNormal);
  lblDupe->setBackColor(kButtonFace);
  lblDupe->setText(QString());
  txtCall->setFocus(Qt::OtherFocusReason);
}

}  // namespace fd
