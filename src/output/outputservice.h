#pragma once
// The log output subsystem: exports, printing, summary, statistics, graph, map, backups and the append.
#include <QPointer>

#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"

namespace fd {

class SectionMap;

class OutputService final : public OutputServices {
 public:
  explicit OutputService(ProgramState& state) : s(state) {}
  ~OutputService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;
  void unload(SideWindow w) override;

  ProgramState& s;
  MainWindow* main = nullptr;

  // --- Statistics, graph and map (bandstats_window.cpp, graphqso_window.cpp, sectionmap_window.cpp)
  void showStats() override;
  void showGraph() override;
  void showSectionMap() override;
  QPointer<SectionMap> sectionMap;  // modeless; deletes itself when closed
  void unloadSectionMap();
};

}  // namespace fd
