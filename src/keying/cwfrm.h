#pragma once
// CWFrm "CW String Selections": a thin window over the CW keyer's settings.
// Its boxes edit CWKeyer::set; Done writes cw.txt and the two registry values.
#include <QDialog>
#include <array>

#include "core/mainwindow.h"
#include "core/scaling.h"
#include "platform/forms.h"
#include "platform/keys.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace fd {

class CWKeyer;
struct ProgramState;

extern const QString kCWFrmCaption;

class CWFrm : public QDialog {
  Q_OBJECT
 public:
  CWFrm(CWKeyer& keyer, ProgramState& state, MainWindow* main, QWidget* parent = nullptr);

  // Text[1..14] as in the design (Text[10] serial, Text[11] WPM, Text[14] parallel).
  std::array<KeyBox*, 15> Text{};
  KeyBox *txtSpace = nullptr, *txtCWLoop = nullptr, *txtLoop = nullptr;
  QCheckBox* Check1 = nullptr;
  QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr, *Option5 = nullptr;
  QRadioButton *optTimer = nullptr, *optLoop = nullptr, *OptSleep = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr;
  QPushButton *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr, *cmdConfWinkey = nullptr;
  QPushButton *cmdLoopFaster = nullptr, *cmdLoopSlower = nullptr;
  QLabel *Label23 = nullptr, *lblLoop = nullptr;
  QGroupBox* Frame1 = nullptr;
  TwipLayout layout;

  // The boxes and options from the keyer's settings (after a restore or a
  // program change such as the speed keys).
  void fillFromSettings();

  void Command1_Click();  // Done
  void Command4_Click();  // Test
  void Command5_Click();  // Less
  void Command6_Click();  // More
  void cmdLoopFaster_Click();
  void cmdLoopSlower_Click();
  void Text10_LostFocus();
  void Text11_LostFocus();
  void txtCWLoop_LostFocus();
  void txtSpace_LostFocus();
  void txtSpace_Change();
  void optLoop_Click();
  void keyLineClicked(int keyingType);
  void timingClicked();
  // Shown after Done when a key line is chosen (the message list, when built).
  std::function<void()> showMessageList;
  // "Configure Winkey" (modal) and the WinKey option's loading of the keyer.
  std::function<void()> configureWinKey;
  std::function<void()> winKeyChosen;
  std::function<void()> showCodePractice;

  // The program's unload: at once, or once the handlers on the stack (Test
  // over WinKey, code practice, a modal window) have returned; a modal
  // window of its own is closed first so that its loop ends.
  void unload();
  bool going() const { return handlers_.going(); }

 protected:

 private:
  void setLoopControls(bool on);
  CWKeyer& k_;
  ProgramState& s_;
  MainWindow* main_;
  bool filling_ = false;
  HandlerDepth handlers_{this};
};

}  // namespace fd
