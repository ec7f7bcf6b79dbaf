#include "rig/rigservice.h"

namespace fd {

RigService::~RigService() = default;

// What is built; a menu item or hot key of a feature not built stays inactive.
bool RigService::provides(Feature f) const {
  switch (f) {
    case Feature::RigInterface: return false;
    case Feature::Privileges: return false;
    case Feature::RigTune: return false;
  }
  return false;
}

}  // namespace fd
