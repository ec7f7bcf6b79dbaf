#pragma once
// The rig subsystem: the radio link, the band plan and the radio commands.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"
#include "platform/forms.h"
#include "rig/tuner.h"

namespace fd {

class RigControlfrm;

class RigService final : public RigServices {
 public:
  explicit RigService(ProgramState& state);
  ~RigService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;
  void startRadioLink() override;
  void showRigInterface() override;
  void showPrivileges() override;
  void showRigTune() override;
  void unload(SideWindow w) override;

  // The rig window, created on first use.
  RigControlfrm* rigWindow();
  bool rigWindowLoaded() const { return rigWindow_.loaded(); }

  ProgramState& s;
  MainWindow* main = nullptr;

 private:
  // The program's tuner: the rig window's ChangeFrequency once it exists.
  class RigTuner final : public Tuner {
   public:
    explicit RigTuner(RigService& sv) : sv_(sv) {}
    void ChangeFrequency(const float& mhz) override;
   private:
    RigService& sv_;
  };
  void unloadWhenIdle();
  FormSlot<RigControlfrm> rigWindow_;
  RigTuner tuner_{*this};
};

}  // namespace fd
