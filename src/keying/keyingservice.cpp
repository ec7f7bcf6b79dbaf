#include "keying/keyingservice.h"

namespace fd {

KeyingService::~KeyingService() = default;

// What is built; a menu item or hot key of a feature not built stays inactive.
bool KeyingService::provides(Feature f) const {
  switch (f) {
    case Feature::CWSetup: return false;
    case Feature::PhoneSetup: return false;
    case Feature::Zell: return false;
    case Feature::VoiceNav: return false;
    case Feature::CWStrings: return false;
    case Feature::CWKeys: return false;
    case Feature::PhoneKeys: return false;
  }
  return false;
}

}  // namespace fd
