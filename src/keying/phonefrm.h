#pragma once
// PhoneFrm, "Phone Wave Selections": the voice keyer's settings window. It
// mirrors the keyer's settings in its boxes; the keyer (phonefrm_keyer.h)
// does the work.
#include <QDialog>
#include <array>

#include "core/scaling.h"
#include "keying/phonefrm_keyer.h"
#include "platform/keys.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace fd {

class ClickLabel;

// A help text of the keying windows: wrapped, top left, the design's 8.25 pt sans.
ClickLabel* helpLabel(QWidget* parent, TwipLayout& layout, const QString& text, double left, double top, double width,
                      double height, bool bold = false);

class PhoneFrm : public QDialog {
  Q_OBJECT
 public:
  PhoneFrm(ProgramState& state, PhoneKeyer& keyer, QWidget* parent = nullptr);
  ~PhoneFrm() override;

  // The boxes from the keyer's settings (after wave2.txt was read).
  void showSettings();

  void Command1_Click();           // Done
  void Browse_Click(int box);      // Command2..Command10 for Text1..Text9 (box 0..8)
  void Command11_Click();          // Test
  void Command12_Click();          // Stop
  void Text10_LostFocus();
  void txtPHLoop_LostFocus();

  std::array<KeyBox*, 9> Text{};
  std::array<QPushButton*, 9> Browse{};
  KeyBox* Text10 = nullptr;
  KeyBox* Text11 = nullptr;
  KeyBox* txtPHLoop = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QRadioButton* Option3 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command11 = nullptr;
  QPushButton* Command12 = nullptr;
  TwipLayout layout;

 private:
  ProgramState& s;
  PhoneKeyer& keyer;
  bool showing_ = false;  // boxes being filled from the settings
};

}  // namespace fd
