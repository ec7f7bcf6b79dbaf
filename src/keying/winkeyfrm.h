#pragma once
// frmWinKey " WinKey Setup": a thin window over the WinKey keyer's settings
// and procedures (WinKeyer).
#include <QDialog>

#include "core/scaling.h"
#include "platform/forms.h"
#include "platform/keys.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace fd {

class WinKeyer;

class frmWinKey : public QDialog {
  Q_OBJECT
 public:
  frmWinKey(WinKeyer& keyer, QString fieldDayDir, QWidget* parent = nullptr);

  KeyBox *txtWKComPort, *txtWKWPM, *txtWeight, *txtLeadIn, *txtTail, *txtRatio, *Text1;
  QLabel *lblOpenStatus, *lblVersion;
  QRadioButton *optIambicB, *optIambicA, *optUltimatic, *optBug;
  QRadioButton *optKey5Off3Out, *optKey5Out3Off, *optPTT, *optTone;
  QPushButton *cmdOpenWinkey, *cmdCloseWinkey, *Command3, *Command1, *cmdStop, *Command2, *cmdDone;
  TwipLayout layout;

  // The boxes, options and labels from the keyer.
  void refresh();
  void cmdDone_Click();
  // The program's unload: at once, or once a handler sending through the
  // keyer (Test, Buffer Test, the typing box) has returned.
  void unload() { handlers_.unload(); }

 private:
  WinKeyer& k_;
  QString dir_;
  bool filling_ = false;
  HandlerDepth handlers_{this};
};

}  // namespace fd
