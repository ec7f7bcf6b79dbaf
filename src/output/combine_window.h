#pragma once
// Form3, "Append Data or Restore From Backup": names the file and starts the
// append; the work is the output service's (combine.cpp, combine_command.cpp).
#include <QCheckBox>
#include <QDialog>
#include <functional>

#include "core/scaling.h"
#include "core/state.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QPushButton;

namespace fd {

class Form3 : public QDialog {
  Q_OBJECT
 public:
  // append: the file's name as typed and whether duplicates are left out.
  Form3(ProgramState& state, std::function<bool(const QString&, bool)> append, QWidget* parent = nullptr);

  TwipLayout layout;
  ClickLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  KeyBox* Text1 = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr;
  QCheckBox* Check1 = nullptr;

  void Form_Load();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Check1_Click();

 private:
  ProgramState& s_;
  std::function<bool(const QString&, bool)> append_;
};

}  // namespace fd
