#include "rig/rigservice.h"

#include "rig/rigcontrolfrm.h"

namespace fd {

RigService::RigService(ProgramState& state)
    // No Qt parent: the slot owns the window, and the main window may go first.
    : s(state), rigWindow_([this] { return std::make_unique<RigControlfrm>(s, main, nullptr); }) {}

RigService::~RigService() = default;

// What is built; a menu item or hot key of a feature not built stays inactive.
bool RigService::provides(Feature f) const {
  switch (f) {
    case Feature::RigInterface: return true;
    case Feature::Privileges: return false;
    case Feature::RigTune: return false;
  }
  return false;
}

RigControlfrm* RigService::rigWindow() { return rigWindow_.get(); }

void RigService::startRadioLink() { rigWindow()->Command1_Click(); }

void RigService::showRigInterface() { showModeless(rigWindow()); }

void RigService::unload(SideWindow w) {
  if (w != SideWindow::RigControlfrm || !rigWindow_.loaded()) return;
  rigWindow_->Form_Unload();
  rigWindow_.unload();
}

}  // namespace fd
