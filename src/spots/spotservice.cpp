#include "spots/spotservice.h"

namespace fd {

SpotService::~SpotService() = default;

// What is built; a menu item or hot key of a feature not built stays inactive.
bool SpotService::provides(Feature f) const {
  switch (f) {
    case Feature::DXSpotting: return false;
    case Feature::SpectrumMap: return false;
  }
  return false;
}

}  // namespace fd
