#pragma once
// "Frequency Privileges": one row per band, the chosen licence class's CW
// segments blue and phone segments green, drawn from "BandPlan.txt".
#include <QDialog>

#include "core/scaling.h"
#include "core/state.h"
#include "rig/bandplan.h"

class QLabel;
class QPushButton;
class QFrame;

namespace fd {

class frmBandPlan : public QDialog {
  Q_OBJECT
 public:
  explicit frmBandPlan(ProgramState& state, QWidget* parent = nullptr);

  TwipLayout layout;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  QFrame* Line1 = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
              *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr;
  QList<rig::BandPlanEntry> records;

  void Form_Load();
  void DrawPrivileges(const QString& cls);
  // The chart's labels ("blbl", "bnlb", "priv" names), in creation order.
  QList<QLabel*> chartLabels(const QString& prefix) const;

 private:
  ProgramState& s_;
  double factor_ = 1;
};

}  // namespace fd
