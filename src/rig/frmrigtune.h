#pragma once
// " Change Frequency and Mode (Ctrl G (Go))": tunes the radio by a typed
// frequency, a band button or a step, switches its mode, and scans a range.
// It talks to the radio only through the rig window's commands.
#include <QDialog>
#include <QList>
#include <QTimer>
#include <functional>

#include "core/scaling.h"
#include "core/state.h"
#include "platform/keys.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace fd {

class RigControlfrm;

class frmRigTune : public QDialog, public KeyPreview {
  Q_OBJECT
 public:
  // rig: the rig window (created on first use).
  frmRigTune(ProgramState& state, std::function<RigControlfrm*()> rig, QWidget* parent = nullptr);

  TwipLayout layout;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
  KeyBox *txtFreq = nullptr, *txtFrom = nullptr, *txtTo = nullptr;
  QPushButton* Command1 = nullptr;
  QList<QPushButton*> cmdBand, cmdTune;
  QPushButton *cmdAM = nullptr, *cmdCW = nullptr, *cmdFM = nullptr, *cmdLSB = nullptr, *cmdRTTY = nullptr,
              *cmdUSB = nullptr, *cmdDone = nullptr;
  QCheckBox* chkScan = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr, *Option5 = nullptr;
  QTimer Timer1;

  void Form_Load();
  void Command1_Click();  // Go
  void cmdBand_Click(int index);
  void cmdTune_Click(int index);
  void modeClick(const QString& mode);
  void cmdDone_Click();
  void chkScan_Click();
  void Timer1_Timer();
  void txtFreq_Change();

  // The character filter of the three boxes: Backspace, "." "/" and digits.
  static int frequencyChar(int keyAscii);
  // "####.#####": at most five decimals, no trailing zeros or point.
  static QString scanText(double mhz);

  void previewKeyDown(int&, int&) override {}
  void previewKeyPress(int& keyAscii) override;

 private:
  static bool numeric(const QString& text, double* value = nullptr);
  ProgramState& s_;
  std::function<RigControlfrm*()> rig_;
};

}  // namespace fd
