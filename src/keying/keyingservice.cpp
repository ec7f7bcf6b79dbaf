#include "keying/keyingservice.h"

#include "keying/blindfrm.h"
#include "keying/phonefrm.h"

namespace fd {

KeyingService::KeyingService(ProgramState& state) : s(state) {}
KeyingService::~KeyingService() = default;

// What is built; a menu item or hot key of a feature not built stays inactive.
bool KeyingService::provides(Feature f) const {
  switch (f) {
    case Feature::CWSetup: return false;
    case Feature::PhoneSetup: return true;
    case Feature::Zell: return true;
    case Feature::VoiceNav: return true;
    case Feature::CWStrings: return false;
    case Feature::CWKeys: return false;
    case Feature::PhoneKeys: return true;
  }
  return false;
}

}  // namespace fd

namespace fd {

void KeyingService::unload(SideWindow w) {
  switch (w) {
    case SideWindow::frmDigitalSource: unloadZell(); break;
    case SideWindow::PhoneFrm: unloadPhone(); break;
    case SideWindow::BlindFrm: unloadBlind(); break;
    default: break;
  }
}

}  // namespace fd
