#include "log/frmeditcon.h"

#include <QPushButton>

#include "log/keyrules.h"
#include "log/logfile.h"
#include "platform/platform.h"
#include "core/windowrules.h"

namespace fd {

namespace {
constexpr ColorValue kWhite = rgbValue(255, 255, 255);
}

frmEditCon::frmEditCon(ProgramState& state, int recNo, QWidget* parent)
    : QDialog(parent), RecNo(recNo), s_(state) {
  setWindowTitle(QStringLiteral("Edit Contact Entry - Field Day"));
  applyWindowRule(this, "frmEditCon", [this] { Command1_Click(); });  // Cancel
  buildControls();
  Form_Load();
}

void frmEditCon::buildControls() {
  layout = TwipLayout{};
  layout.width = 4200;
  layout.height = 4560;
  layout.fontSize = 8.25;
  const QString sans = QStringLiteral("Arial");  // metric-compatible substitutes exist, so captions fit

  auto label = [&](const QString& text, double l, double t, double w, double h, double font = 8.25, bool bold = false) {
    auto* lb = new ClickLabel(this);
    lb->setText(text);
    lb->setFont(designFont(sans, font, bold));
    layout.add(lb, ControlKind::Label, l, t, w, h, font);
    return lb;
  };
  auto button = [&](const QString& caption, double l, double t, double w) {
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFocusPolicy(Qt::TabFocus);  // a click leaves the focus (and its leave check) where it is
    b->setFont(designFont(sans, 8.25));
    layout.add(b, ControlKind::Button, l, t, w, 375, 8.25);
    return b;
  };

  lblEditTitle = label(QStringLiteral("Edit Contact:"), 240, 120, 2400, 300, 9.75, true);

  // One row per field: the red mark (three rows have one), the caption, the box.
  struct Row {
    KeyBox** box;
    ClickLabel** caption;
    const char* text;
    ClickLabel** mark;
    const char* markText;
  };
  const Row rows[] = {
      {&txtEditCall, &lblcall, "Callsign", &Label1, " Dupe!"},
      {&txtEditCk, &lblChck, "Class", nullptr, nullptr},
      {&txtEditSec, &lblSec, "Section", &Label2, "   Invalid!"},
      {&txtEditDate, &lblDate, "Date", nullptr, nullptr},
      {&txtEditTime, &lblTime, "Time", nullptr, nullptr},
      {&txtEditBnd, &lblBnd, "Band", nullptr, nullptr},
      {&txtEditmode, &Label3, "Mode", &Label4, "   Invalid!"},
      {&Text1, &Label5, "Initials", nullptr, nullptr},
  };
  double top = 600;
  for (const Row& r : rows) {
    if (r.mark) {
      ClickLabel* m = label(QString::fromLatin1(r.markText), 60, top, 960, 285, 8.25, true);
      m->setBackColor(kGridDarkRed);
      m->setForeColor(kWhite);
      m->hide();
      *r.mark = m;
    }
    *r.caption = label(QString::fromLatin1(r.text), 1080, top + 30, 1080, 285);
    auto* b = new KeyBox(this);
    b->preview = this;
    b->charFilter = [](int code) { Cap2(code); return code; };
    b->setFont(designFont(sans, 8.25));
    layout.add(b, ControlKind::TextBox, 2220, top, 1800, 315, 8.25);
    *r.box = b;
    top += 420;
  }

  cmdDone = button(QStringLiteral("Done"), 240, 4020, 1140);
  Command1 = button(QStringLiteral("Cancel"), 1500, 4020, 1140);
  cmdDeleteDupe = button(QStringLiteral("Delete Dupe"), 2760, 4020, 1200);
  cmdDeleteDupe->hide();

  setTabOrder(txtEditCall, txtEditCk);
  setTabOrder(txtEditCk, txtEditSec);
  setTabOrder(txtEditSec, txtEditDate);
  setTabOrder(txtEditDate, txtEditTime);
  setTabOrder(txtEditTime, txtEditBnd);
  setTabOrder(txtEditBnd, txtEditmode);
  setTabOrder(txtEditmode, Text1);
  setTabOrder(Text1, cmdDone);
  setTabOrder(cmdDone, Command1);
  setTabOrder(Command1, cmdDeleteDupe);

  for (KeyBox* b : {txtEditCall, txtEditCk, Text1})
    b->onKeyPress = [this](int& k) { boxKeyPress(k, true); };
  for (KeyBox* b : {txtEditSec, txtEditDate, txtEditTime, txtEditBnd, txtEditmode})
    b->onKeyPress = [this](int& k) { boxKeyPress(k, false); };
  connectLeaveCheck(txtEditDate, &frmEditCon::txtEditDate_LostFocus);
  connectLeaveCheck(txtEditTime, &frmEditCon::txtEditTime_LostFocus);
  connectLeaveCheck(txtEditmode, &frmEditCon::txtEditmode_LostFocus);
  connectLeaveCheck(txtEditSec, &frmEditCon::txtEditSec_LostFocus);

  connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(cmdDeleteDupe, &QPushButton::clicked, this, [this] { cmdDeleteDupe_Click(); });
}

void frmEditCon::connectLeaveCheck(KeyBox* box, bool (frmEditCon::*check)()) {
  // While a refusal puts the focus back, the box the focus was passing to
  // loses it again; its own check must not answer that with a refusal of its
  // own, or two boxes would pull the focus between them for ever.
  box->onLostFocus = [this, check] {
    if (!refusing_) (this->*check)();
  };
}

void frmEditCon::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  if (RecNo < 1 || RecNo > s_.QsoCount()) {
    RecNo = 0;
    return;
  }
  original_ = s_.Log.rec(RecNo);
  txtEditCall->setText(original_.Call);
  txtEditCk->setText(original_.Class);
  txtEditSec->setText(original_.Section);
  txtEditDate->setText(original_.Date);
  txtEditTime->setText(original_.Time);
  txtEditBnd->setText(original_.Band);
  txtEditmode->setText(original_.Mode);
  Text1->setText(original_.Initials);
  txtEditCall->setFocus();
}

void frmEditCon::Form_KeyPress(int& keyAscii) {
  if (keyAscii == 34) keyAscii = 0;
}

void frmEditCon::Cap2(int& keyAscii) { keyAscii = keyrules::capital(keyAscii); }

void frmEditCon::boxKeyPress(int& keyAscii, bool enterRunsDone) {
  if (keyAscii == 13) {
    keyAscii = 0;
    if (enterRunsDone) cmdDone_Click();
    return;
  }
  Cap2(keyAscii);
}

void frmEditCon::refuse(KeyBox* box, const QString& message, ClickLabel* mark) {
  refusing_ = true;
  dialogs().beep();
  if (mark) mark->show();
  if (!message.isEmpty()) dialogs().message(message, message, Buttons::Ok);
  box->setFocus();
  refusing_ = false;
}

bool frmEditCon::txtEditDate_LostFocus() {
  if (editcheck::date(txtEditDate->text(), original_.Date)) return true;
  refuse(txtEditDate, QStringLiteral("Invalid Date!"), nullptr);
  return false;
}

bool frmEditCon::txtEditTime_LostFocus() {
  if (editcheck::time(txtEditTime->text(), original_.Time)) return true;
  refuse(txtEditTime, QStringLiteral("Invalid Time!"), nullptr);
  return false;
}

bool frmEditCon::txtEditmode_LostFocus() {
  if (editcheck::mode(txtEditmode->text(), original_.Mode)) {
    Label4->hide();
    return true;
  }
  refuse(txtEditmode, QString(), Label4);
  return false;
}

bool frmEditCon::txtEditSec_LostFocus() {
  if (editcheck::section(s_, txtEditSec->text(), original_.Section)) {
    Label2->hide();
    return true;
  }
  refuse(txtEditSec, QString(), Label2);
  return false;
}

void frmEditCon::cmdDone_Click() {
  if (RecNo == 0) {
    hide();
    return;
  }
  // A box the operator changed but never left has had no check yet; run them
  // all in tab order (unchanged values pass) and stop at the first refusal.
  if (!txtEditSec_LostFocus() || !txtEditDate_LostFocus() || !txtEditTime_LostFocus() || !txtEditmode_LostFocus())
    return;

  // The record as its line will hold it (no double quote, no line end), checked as stored.
  QsoRecord edited;
  edited.Call = txtEditCall->text();
  edited.Class = txtEditCk->text();
  edited.Section = txtEditSec->text();
  edited.Date = *editcheck::date(txtEditDate->text(), original_.Date);
  edited.Time = *editcheck::time(txtEditTime->text(), original_.Time);
  edited.Band = txtEditBnd->text();
  edited.Mode = txtEditmode->text();
  edited.Initials = Text1->text();
  logfile::cleanRecord(edited);

  const auto d = editcheck::dupes(s_.Log, RecNo, edited.Call, edited.Band, edited.Mode);
  for (int match : {d.before, d.after}) {
    if (!match) continue;
    Label1->show();
    cmdDeleteDupe->show();
    dialogs().beep();
  }
  if (d.any()) return;

  QsoRecord& r = s_.Log.rec(RecNo);
  edited.Freq = r.Freq;  // the frequency is not edited here
  r = edited;
  hide();
}

void frmEditCon::Command1_Click() { hide(); }

void frmEditCon::cmdDeleteDupe_Click() {
  hide();
  if (deleteDupe) deleteDupe();
}

}  // namespace fd
