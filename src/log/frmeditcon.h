#pragma once
// The edit window for one logged contact: the record's eight editable fields,
// their checks when a box is left and again on Done, and the duplicate rule
// (same call, band and mode as another record) that keeps Done from storing.
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "app/scaling.h"
#include "app/state.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QPushButton;

namespace fd {

// The field rules, without a window. Each takes the box's text and the value
// the record held when the window opened: an unchanged value always passes as
// it is, so a record saved with an unknown section, an imported mode or an
// old date form can still be opened and stored.
namespace editcheck {

// The value to store ("yyyy/mm/dd"), nullopt when the text is no date.
std::optional<QString> date(const QString& text, const QString& stored);
// The value to store ("hh:mm:ss"), nullopt when the text is no time of day.
std::optional<QString> time(const QString& text, const QString& stored);
bool mode(const QString& text, const QString& stored);
bool section(const ProgramState& s, const QString& text, const QString& stored);

// The first record before recNo and the first after it with this call, band
// and mode (exact); 0 where there is none.
struct Dupes {
  int before = 0, after = 0;
  bool any() const { return before || after; }
};
Dupes dupes(const QsoLog& log, int recNo, const QString& call, const QString& band, const QString& mode);

}  // namespace editcheck

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
