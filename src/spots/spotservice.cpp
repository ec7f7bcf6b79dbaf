#include "spots/spotservice.h"

#include "spots/packetspotfrm.h"
#include "spots/spectrummap.h"

namespace fd {

SpotService::SpotService(ProgramState& state) : s(state) {}

void SpotService::attach(MainWindow& w) {
  main = &w;
  wireSpotArea();
}

SpotService::~SpotService() {
  delete packetSpot_.data();
  delete spectrum_.data();
}

// What is built; a menu item or hot key of a feature not built stays inactive.
bool SpotService::provides(Feature f) const {
  switch (f) {
    case Feature::DXSpotting: return true;
    case Feature::SpectrumMap: return true;
  }
  return false;
}

}  // namespace fd
