#pragma once
// BlindFrm, "Voice Navigation Settings": chooses how much voice navigation
// announces. The prompts and the mode logic are in blindfrm_nav.h.
#include <QDialog>

#include "core/scaling.h"
#include "keying/blindfrm_nav.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace fd {

class BlindFrm : public QDialog {
  Q_OBJECT
 public:
  BlindFrm(ProgramState& state, VoiceNav& nav, QWidget* parent = nullptr);
  ~BlindFrm() override;

  // Form_Load: scale, Label7, the current mode ticked (and announced).
  void Form_Load();
  void Command1_Click();  // Done

  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QRadioButton* Option3 = nullptr;
  QPushButton* Command1 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label20 = nullptr;
  TwipLayout layout;

 private:
  void showTicked();
  ProgramState& s;
  VoiceNav& nav;
};

}  // namespace fd
