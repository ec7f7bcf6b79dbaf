#pragma once
// The log output subsystem: exports, printing, summary, statistics, graph, map, backups and the append.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"

#include <QStringList>
#include <functional>
#include <vector>

namespace fd {

class OutputService final : public OutputServices {
 public:
  explicit OutputService(ProgramState& state) : s(state) {}
  ~OutputService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;

  ProgramState& s;
  MainWindow* main = nullptr;

  // Summary sheet (summarysheet.cpp, form2.cpp).
  void showSummary() override;
  void mnuPrntSum_Click();

  // ASCII log and dupe sheet files (asciifiles.cpp); printed log and dupe
  // sheet (printouts.cpp).
  void asciiLog() override;
  void asciiDupe() override;
  void mnuAsciiLog_Click();
  void mnuAsciiDupe_Click();
  void mnuPrntlog_Click();
  void mnuPrntdupe_Click();

 private:
  // False when the dialog was cancelled.
  bool writeAsciiFile(const QString& suffix, bool blankOnFailure, const std::function<QStringList()>& lines);
  bool printDocument(const std::vector<QStringList>& pages);
};

}  // namespace fd
