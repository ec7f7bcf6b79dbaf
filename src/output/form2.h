#pragma once
// Form2, "Field Day Summary Sheet Information": what the log does not hold,
// the log's counts per band and mode taken when it opens, and the command that
// writes the ".sum" file. Built fresh at each opening.
#include <QDialog>

#include "core/scaling.h"
#include "core/state.h"
#include "output/summary.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace fd {

class Form2 : public QDialog {
  Q_OBJECT
 public:
  explicit Form2(ProgramState& state, QWidget* parent = nullptr);

  TwipLayout layout;
  KeyBox *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr, *Text6 = nullptr;
  KeyBox *Text7 = nullptr, *Text8 = nullptr, *Text9 = nullptr, *Text10 = nullptr, *Text11 = nullptr, *Text12 = nullptr;
  KeyBox *Text13 = nullptr, *Text14 = nullptr, *Text15 = nullptr, *Text16 = nullptr, *Text17 = nullptr, *Text18 = nullptr;
  QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr, *Check5 = nullptr;
  QCheckBox *Check6 = nullptr, *Check7 = nullptr, *Check8 = nullptr, *Check9 = nullptr, *Check10 = nullptr;
  QCheckBox *Check11 = nullptr, *Check12 = nullptr, *Check13 = nullptr, *Check14 = nullptr, *Check15 = nullptr;
  QCheckBox *Check16 = nullptr, *Check17 = nullptr;
  QGroupBox* Frame4 = nullptr;
  QRadioButton *Option9 = nullptr, *Option10 = nullptr, *Option1 = nullptr;
  QPushButton *Command1 = nullptr, *Command3 = nullptr;
  QFrame *Shape1 = nullptr, *Line1 = nullptr, *Line2 = nullptr;

  BandModeCounts BandModeCount{};

  void Form_Load();
  void Command1_Click();
  void Command3_Click() { hide(); }

  // The boxes as the file takes them.
  SummaryForm values() const;

  // Digits and Backspace; every other key, control keys included, is refused.
  static int number(int keyAscii);
  static int Capital(int keyAscii);

 private:
  void storeRemembered();
  ProgramState& s;
};

}  // namespace fd
