#include "output/outputservice.h"

#include "output/backup_window.h"
#include "output/sectionmap_window.h"

namespace fd {

OutputService::OutputService(ProgramState& state) : s(state) {}
OutputService::~OutputService() { delete backupWindow.data(); }

// What is built; a menu item or hot key of a feature not built stays inactive.
bool OutputService::provides(Feature f) const {
  switch (f) {
    // Exports, backups, archive, append
    case Feature::AdifExport: return true;
    case Feature::BackupOptions: return true;
    case Feature::Archive: return true;
    case Feature::Combine: return true;

    // Summary sheet
    case Feature::WriteSummary: return true;

    // ASCII files and printing
    case Feature::AsciiLog: return true;
    case Feature::AsciiDupe: return true;

    // Statistics, graph and map
    case Feature::Stats: return true;
    case Feature::Graph: return true;
    case Feature::SectionMap: return true;
  }
  return false;
}

// The main window's close unloads its side windows through here.
void OutputService::unload(SideWindow w) {
  switch (w) {
    // Backups
    case SideWindow::frmBackup:
      delete backupWindow.data();
      break;

    // Statistics, graph and map
    case SideWindow::SectionMap: unloadSectionMap(); break;

    default: break;
  }
}

}  // namespace fd
