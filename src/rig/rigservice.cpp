#include "rig/rigservice.h"

#include <QApplication>
#include <QTimer>

#include "rig/frmbandplan.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"

namespace fd {

RigService::RigService(ProgramState& state)
    // No Qt parent: the slot owns the window, and the main window may go first.
    : s(state), rigWindow_([this] {
        auto w = std::make_unique<RigControlfrm>(s, main, nullptr);
        setTuner(&tuner_);
        return w;
      }) {}

RigService::~RigService() { setTuner(nullptr); }

void RigService::RigTuner::ChangeFrequency(const float& mhz) {
  if (sv_.rigWindow_.loaded()) sv_.rigWindow_->ChangeFrequency(mhz);
}

// What is built; a menu item or hot key of a feature not built stays inactive.
bool RigService::provides(Feature f) const {
  switch (f) {
    case Feature::RigInterface: return true;
    case Feature::Privileges: return true;
    case Feature::RigTune: return true;
  }
  return false;
}

RigControlfrm* RigService::rigWindow() { return rigWindow_.get(); }

void RigService::startRadioLink() { rigWindow()->Command1_Click(); }

void RigService::showRigInterface() { showModeless(rigWindow()); }

void RigService::showPrivileges() {
  frmBandPlan chart(s, main ? main->window() : nullptr);
  showModal(&chart);
}

void RigService::showRigTune() {
  frmRigTune tune(s, [this] { return rigWindow(); }, main ? main->window() : nullptr);
  showModal(&tune);
}

void RigService::unload(SideWindow w) {
  if (w != SideWindow::RigControlfrm || !rigWindow_.loaded()) return;
  rigWindow_->Form_Unload();
  unloadWhenIdle();
}

void RigService::unloadWhenIdle() {
  // Never delete the window while one of its commands waits on the stack.
  if (!rigWindow_.loaded()) return;
  if (!rigWindow_->commandBusy()) {
    rigWindow_.unload();
    return;
  }
  rigWindow_->hide();
  QTimer::singleShot(10, qApp, [this] { unloadWhenIdle(); });
}

}  // namespace fd
