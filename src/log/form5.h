#pragma once
// The help page: shows readfd.txt from the program folder as it stands. The
// file is read each time the window is built, so an edited file shows at the
// next opening; a missing file leaves the page empty.
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/scaling.h"
#include "core/state.h"

namespace fd {

class Form5 : public QDialog {
  Q_OBJECT
 public:
  explicit Form5(const ProgramState& state, QWidget* parent = nullptr);

  const ProgramState& s;
  TwipLayout layout;
  QPlainTextEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;

  void Form_Load();
  void Command1_Click();
};

}  // namespace fd
