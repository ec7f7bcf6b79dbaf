#pragma once
// The keying subsystem: the CW keyer, WinKey, the voice keyer, voice navigation and the RTTY link.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"

namespace fd {

class KeyingService final : public KeyingServices {
 public:
  explicit KeyingService(ProgramState& state) : s(state) {}
  ~KeyingService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;

  ProgramState& s;
  MainWindow* main = nullptr;
};

}  // namespace fd
