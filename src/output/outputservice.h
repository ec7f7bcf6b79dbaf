#pragma once
// The log output subsystem: exports, printing, summary, statistics, graph,
// map, backups and the append. The class holds the members; its methods live
// in one file per concern (adif.cpp, tolva.cpp, backup*.cpp, combine*.cpp,
// summary*.cpp, ascii*.cpp, stats*.cpp ...). The main window is reached only
// through MainWindow: its status line, mnuopen2 and window() as the parent of
// this subsystem's windows and boxes.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"
#include "output/textwriter.h"

#include <QStringList>
#include <functional>
#include <vector>

#include <QPointer>

namespace fd {

class frmBackup;
class SectionMap;

class OutputService final : public OutputServices {
 public:
  explicit OutputService(ProgramState& state);
  ~OutputService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;
  void unload(SideWindow w) override;

  ProgramState& s;
  MainWindow* main = nullptr;

  // --- Exports: ADIF (adifexport.cpp) and Tolva (tolva.cpp)
  void adifExport() override { mnuADIFExport_Click(); }
  void mnuADIFExport_Click();
  // Kept off the menus; tests call it.
  void mnuTolvaExport_Click();

  // --- Backups and archive (backup*.cpp, archive.cpp); append and restore (combine*.cpp)
  void loadBackupWindow() override;
  void showBackupOptions() override;
  void archive() override { mnuArchive_Click(); }
  void mnuArchive_Click();
  void showCombine() override;
  // Form3's Append: the file as typed; true when the log took it.
  bool appendFile(const QString& name, bool eliminateDuplicates);
  // Loaded at start, kept for the run; a child of the main window, so it goes
  // with it whichever is destroyed first.
  QPointer<frmBackup> backupWindow;

  // --- Summary sheet (summarysheet.cpp, form2.cpp)
  void showSummary() override;
  void mnuPrntSum_Click();  // kept off the menus; tests call it

  // --- ASCII files (asciifiles.cpp) and printing (printouts.cpp)
  void asciiLog() override;
  void asciiDupe() override;
  void mnuAsciiLog_Click();
  void mnuAsciiDupe_Click();
  // Kept off the menus; tests call them.
  void mnuPrntlog_Click();
  void mnuPrntdupe_Click();

  // --- Statistics, graph and map (bandstats_window.cpp, graphqso_window.cpp, sectionmap_window.cpp)
  void showStats() override;
  void showGraph() override;
  void showSectionMap() override;
  QPointer<SectionMap> sectionMap;  // modeless; deletes itself when closed
  void unloadSectionMap();

 private:
  // --- ASCII files and printing
  // False when the dialog was cancelled.
  bool writeAsciiFile(const QString& suffix, bool blankOnFailure, const std::function<TextWriter()>& text);
  bool printDocument(const std::vector<QStringList>& pages);
};

}  // namespace fd
