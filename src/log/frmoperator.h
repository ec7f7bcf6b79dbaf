#pragma once
// The operator change: the next contacts carry the initials typed here. The
// window saves no preferences; the initials reach fdpref.dat with the next
// preferences save.
#include <QDialog>

#include "core/scaling.h"
#include "core/state.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QPushButton;

namespace fd {

class frmOperator : public QDialog {
  Q_OBJECT
 public:
  explicit frmOperator(ProgramState& state, QWidget* parent = nullptr);

  TwipLayout layout;
  ClickLabel* Label1 = nullptr;
  KeyBox* Text1 = nullptr;
  QPushButton* Command1 = nullptr;

  void Form_Load();
  void Text1_KeyPress(int& keyAscii);
  void Command1_Click();

  // What a pasted or typed character becomes in the initials box (0: dropped).
  static int initialsChar(int keyAscii);

 private:
  ProgramState& s_;
};

}  // namespace fd
