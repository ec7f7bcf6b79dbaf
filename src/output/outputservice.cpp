#include "output/outputservice.h"

#include "output/sectionmap_window.h"

namespace fd {

OutputService::~OutputService() = default;

// What is built; a menu item or hot key of a feature not built stays inactive.
bool OutputService::provides(Feature f) const {
  switch (f) {
    case Feature::BackupOptions: return false;
    case Feature::Archive: return false;
    case Feature::AsciiLog: return false;
    case Feature::AsciiDupe: return false;
    case Feature::WriteSummary: return false;
    case Feature::AdifExport: return false;
    case Feature::Combine: return false;
    case Feature::Stats: return true;
    case Feature::Graph: return true;
    case Feature::SectionMap: return true;
  }
  return false;
}

// The main window's close unloads its side windows through here.
void OutputService::unload(SideWindow w) {
  switch (w) {
    case SideWindow::SectionMap: unloadSectionMap(); break;
    default: break;
  }
}

}  // namespace fd
