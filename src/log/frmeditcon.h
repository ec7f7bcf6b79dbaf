#pragma once
// The edit window for one logged contact: the record's eight editable fields,
// their checks when a box is left and again on Done, and the duplicate rule
// (same call, band and mode as another record) that keeps Done from storing.
#include <QDialog>
#include <QString>
#include <functional>

#include "core/scaling.h"
#include "core/state.h"
#include "log/editcheck.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QPushButton;

namespace fd {

class frmEditCon : public QDialog, public KeyPreview {
  Q_OBJECT
 public:
  // recNo: the record to edit, 1..QsoCount.
  frmEditCon(ProgramState& state, int recNo, QWidget* parent = nullptr);

  int RecNo = 0;
  // The main window's delete; Delete Dupe hides this window, then runs it.
  std::function<void()> deleteDupe;

  TwipLayout layout;
  KeyBox *txtEditCall = nullptr, *txtEditCk = nullptr, *txtEditSec = nullptr, *txtEditDate = nullptr;
  KeyBox *txtEditTime = nullptr, *txtEditBnd = nullptr, *txtEditmode = nullptr, *Text1 = nullptr;
  QPushButton *cmdDone = nullptr, *Command1 = nullptr, *cmdDeleteDupe = nullptr;
  ClickLabel *Label1 = nullptr, *Label2 = nullptr, *Label4 = nullptr;
  ClickLabel *lblEditTitle = nullptr, *lblcall = nullptr, *lblChck = nullptr, *lblSec = nullptr, *lblDate = nullptr;
  ClickLabel *lblTime = nullptr, *lblBnd = nullptr, *Label3 = nullptr, *Label5 = nullptr;

  void Form_Load();
  void Form_KeyPress(int& keyAscii);
  static void Cap2(int& keyAscii);
  // Each leave check reports a refusal itself and returns whether the text passed.
  bool txtEditDate_LostFocus();
  bool txtEditTime_LostFocus();
  bool txtEditmode_LostFocus();
  bool txtEditSec_LostFocus();
  void cmdDone_Click();
  void Command1_Click();
  void cmdDeleteDupe_Click();

  // ---- KeyPreview ----
  void previewKeyDown(int&, int&) override {}
  void previewKeyPress(int& keyAscii) override { Form_KeyPress(keyAscii); }

 private:
  void buildControls();
  void boxKeyPress(int& keyAscii, bool enterRunsDone);
  void refuse(KeyBox* box, const QString& message, ClickLabel* mark);
  void connectLeaveCheck(KeyBox* box, bool (frmEditCon::*check)());

  ProgramState& s_;
  QsoRecord original_;  // the record as it stood when the window opened
  bool refusing_ = false;
};

}  // namespace fd
