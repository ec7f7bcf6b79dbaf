#pragma once
// BlindFrm, "Voice Navigation Settings": chooses how much voice navigation
// announces. The prompts and the mode logic are in blindfrm_nav.h.
#include <QDialog>
#include <functional>

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
  // Form_Unload: the prompt player closed (once).
  void Form_Unload();
  // The close box unloads the window (the owner deletes it); the next
  // showing loads it again from VoiceNavMode. Done only hides it.
  std::function<void()> onClosed;

  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QRadioButton* Option3 = nullptr;
  QPushButton* Command1 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label20 = nullptr;
  TwipLayout layout;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void showTicked();
  bool unloaded_ = false;
  ProgramState& s;
  VoiceNav& nav;
};

}  // namespace fd
