#pragma once
// frmCodePractice "On the Air Code Practice": practice text into CWBuffer,
// sent by the CW buffer loop on whatever key line or keyer is chosen.
#include <QDialog>
#include <random>

#include "core/scaling.h"
#include "platform/keys.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace fd {

class CWKeyer;

class frmCodePractice : public QDialog {
  Q_OBJECT
 public:
  frmCodePractice(CWKeyer& keyer, QWidget* parent = nullptr);
  ~frmCodePractice() override;

  KeyBox *Text1, *Text2, *Text3, *Text4, *Text5;
  QRadioButton *Option1, *Option2;
  QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7, *Command8;
  QLabel* Label8;
  TwipLayout layout;
  QString PracticeText;
  std::mt19937 rng;  // tests seed it; Generate reseeds from the clock unless told not to
  bool reseed = true;

  void Command2_Click();  // Generate
  void Command3_Click();  // Send
  void Command4_Click();  // Stop
  void Text5_KeyPress(int& k);
  bool sending() const { return sending_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  CWKeyer& k_;
  bool sending_ = false;
  bool closeAfterSend_ = false;
};

}  // namespace fd
