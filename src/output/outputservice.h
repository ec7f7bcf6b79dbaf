#pragma once
// The log output subsystem: exports, printing, summary, statistics, graph, map, backups and the append.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"

namespace fd {

class OutputService final : public OutputServices {
 public:
  explicit OutputService(ProgramState& state) : s(state) {}
  ~OutputService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;

  ProgramState& s;
  MainWindow* main = nullptr;
};

}  // namespace fd
