#pragma once
// The rig subsystem: the radio link, the band plan and the radio commands.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"

namespace fd {

class RigService final : public RigServices {
 public:
  explicit RigService(ProgramState& state) : s(state) {}
  ~RigService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;

  ProgramState& s;
  MainWindow* main = nullptr;
};

}  // namespace fd
