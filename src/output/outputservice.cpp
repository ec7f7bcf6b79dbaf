#include "output/outputservice.h"

namespace fd {

OutputService::~OutputService() = default;

// What is built; a menu item or hot key of a feature not built stays inactive.
bool OutputService::provides(Feature f) const {
  switch (f) {
    case Feature::BackupOptions: return false;
    case Feature::Archive: return false;
    case Feature::AsciiLog: return true;
    case Feature::AsciiDupe: return true;
    case Feature::WriteSummary: return true;
    case Feature::AdifExport: return false;
    case Feature::Combine: return false;
    case Feature::Stats: return false;
    case Feature::Graph: return false;
    case Feature::SectionMap: return false;
  }
  return false;
}

}  // namespace fd
