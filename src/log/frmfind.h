#pragma once
// The find window: a call, or part of one, typed by the operator; every
// record whose call matches goes into the recent-contacts list, newest first,
// each row carrying its record number so it can be edited or deleted.
#include <QDialog>
#include <QStringList>
#include <vector>

#include "app/scaling.h"
#include "app/state.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace fd {

namespace findcall {

// Record numbers whose call equals the text (partial: contains it, case-
// sensitive), newest first; none for an empty text.
std::vector<int> matches(const QsoLog& log, const QString& text, bool partial);
// The nine cells of a list row: record number, call, class, section, date
// "M/DD", time "h:mm", band, mode, operator.
QStringList rowTexts(const QsoLog& log, int recNo);

}  // namespace findcall

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
