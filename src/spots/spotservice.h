#pragma once
// The spotting subsystem: spot intake, the band maps and the spot list.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"

namespace fd {

class SpotService final : public SpotServices {
 public:
  explicit SpotService(ProgramState& state) : s(state) {}
  ~SpotService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;

  ProgramState& s;
  MainWindow* main = nullptr;
};

}  // namespace fd
