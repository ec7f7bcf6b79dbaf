#pragma once
// Shared by the radio-link targets: what the read-back of a polled frequency
// puts into CurFreq, through a main window that only records it.
#include <cmath>

#include "core/mainwindow.h"
#include "core/state.h"
#include "fuzzsupport.h"
#include "rig/readback.h"

namespace fuzz {

class CurFreqWindow final : public fd::MainWindow {
 public:
  QString curFreq;
  bool set = false;
  QString fieldText(Field) const override { return {}; }
  void setFieldText(Field, const QString&) override {}
  void Mains() override {}
  void selectBand(const QString&) override {}
  void selectMode(const QString&) override {}
  void setCurFreq(const QString& mhz) override {
    curFreq = mhz;
    set = true;
  }
  void setStatus(const QString&) override {}
  void setStatus(const QString&, fd::ColorValue) override {}
  QString statusText() const override { return {}; }
  void setRadioLost(bool) override {}
  void mnuopen2() override {}
  void SavePref() override {}
  void focusCall() override {}
  QWidget* window() override { return nullptr; }
  QString caption() const override { return {}; }
  fd::KeyPreview* keyPreview() override { return nullptr; }
};

// The polled frequency as the rig window hands it on: a value above 0 must be
// finite, and CurFreq gets a finite number from it.
inline void checkReadBack(float mhz) {
  static fd::ProgramState* state = new fd::ProgramState();  // costly: one for the run
  if (mhz > 0) check(std::isfinite(mhz), "a polled frequency above 0 is finite");
  CurFreqWindow w;
  fd::rig::BandFreqConversion(w, *state, mhz);
  if (!w.set) return;
  bool ok = false;
  const double back = w.curFreq.toDouble(&ok);
  check(ok && std::isfinite(back) && back >= 0, "CurFreq holds a finite frequency");
}

}  // namespace fuzz
