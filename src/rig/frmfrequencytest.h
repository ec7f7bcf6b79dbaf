#pragma once
// "Test Change Frequency Function": sends a typed command (text, or hex pairs
// "XX XX XX") on the radio's port, and tunes to a typed frequency through the
// rig window's ChangeFrequency.
#include <QDialog>

#include "core/scaling.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fd {

class RigControlfrm;

class frmFrequencyTest : public QDialog {
  Q_OBJECT
 public:
  frmFrequencyTest(RigControlfrm& rig, QWidget* parent = nullptr);

  TwipLayout layout;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  QLineEdit *Text1 = nullptr, *Text2 = nullptr;
  QCheckBox* Check1 = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr;
  QFrame* Line1 = nullptr;

  void Form_Load();
  void Command1_Click();
  void Command2_Click();
  // The same converter as the poll loop's: pairs at 1, 4, 7 ...
  static void ConvertHexText(const QString& hexText, QByteArray& result);

 private:
  RigControlfrm& rig_;
};

}  // namespace fd
