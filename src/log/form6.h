#pragma once
// The colours window: the operator picks the text colours of worked and of
// remaining sections. Each change button opens the colour dialog on the
// colour in force; a new colour is in the program state as soon as the
// dialog closes; the grid and fdpref.dat follow when the window closes.
#include <QDialog>
#include <QPushButton>

#include "core/scaling.h"
#include "core/state.h"
#include "platform/widgets.h"

class QFrame;

namespace fd {

class Form6 : public QDialog {
  Q_OBJECT
 public:
  explicit Form6(ProgramState& state, QWidget* parent = nullptr);

  ProgramState& s;
  TwipLayout layout;
  QPushButton *Command1 = nullptr, *Command3 = nullptr, *Command6 = nullptr;
  ClickLabel *Label1 = nullptr, *Label2 = nullptr;
  QFrame *Line1 = nullptr, *Line2 = nullptr;

  void Form_Load();
  void Command1_Click();  // remaining colour
  void Command3_Click();  // worked colour
  void Command6_Click();  // Done
};

}  // namespace fd
