#pragma once
// The find window: a call, or part of one, typed by the operator; every
// record whose call matches goes into the recent-contacts list, newest first,
// each row carrying its record number so it can be edited or deleted.
#include <QDialog>
#include <QStringList>
#include <vector>

#include "core/scaling.h"
#include "core/state.h"
#include "log/findcall.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace fd {

class frmFind : public QDialog {
  Q_OBJECT
 public:
  frmFind(const ProgramState& state, QTreeWidget* list, QWidget* parent = nullptr);

  TwipLayout layout;
  ClickLabel* Label1 = nullptr;
  KeyBox* Text1 = nullptr;
  QCheckBox* Check1 = nullptr;
  QPushButton* Command1 = nullptr;

  void Form_Load();
  void Text1_KeyPress(int& keyAscii);
  void Command1_Click();

 private:
  const ProgramState& s_;
  QTreeWidget* list_;
};

}  // namespace fd
