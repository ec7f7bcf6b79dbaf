#pragma once
// The keying subsystem: the CW keyer, WinKey, the voice keyer, voice navigation and the RTTY link.
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"
#include "keying/blindfrm_nav.h"
#include "keying/digitalsource.h"
#include "keying/phonefrm_keyer.h"

#include <memory>

namespace fd {

class BlindFrm;
class PhoneFrm;

class KeyingService final : public KeyingServices {
 public:
  explicit KeyingService(ProgramState& state);
  ~KeyingService() override;
  void attach(MainWindow& w) override { main = &w; }
  bool provides(Feature f) const override;
  void unload(SideWindow w) override;

  // The link to the Zell RTTY program (zellservice.cpp).
  void connectZell() override;
  void setDigitalCall(const QString& text) override;
  void setDigitalKey(const QString& text) override;
  void unloadZell();
  std::unique_ptr<DigitalSource> frmDigitalSource;  // loaded by the first connect
  QString zellServerName = kZellServerName;        // tests run their own peers

  // The voice keyer (phonefrm_service.cpp).
  void fKeyPhone(int& keyCode) override;
  bool voicePlaying() const override;
  void stopVoice() override;
  void disablePhoneRepeat() override;
  bool loadWaveSettings() override;
  void showPhoneSetup(bool modal) override;
  void releaseVoice();   // play and repeat stopped, PTT released
  void unloadPhone();
  PhoneKeyer& phoneKeyer();
  PhoneFrm& phoneFrm();  // loaded hidden on first touch
  std::unique_ptr<PhoneKeyer> phone;
  std::unique_ptr<PhoneFrm> phoneWindow;

  // Voice navigation (blindfrm_service.cpp).
  void blindKeyPhone(const QString& q) override;
  bool promptPlaying() const override;
  void showVoiceNav() override;
  void unloadBlind();
  BlindFrm& blindFrm();  // loaded (hidden) on first touch; its load announces the mode
  std::unique_ptr<VoiceNav> voiceNav;
  std::unique_ptr<BlindFrm> blindWindow;

  ProgramState& s;
  MainWindow* main = nullptr;
};

}  // namespace fd
