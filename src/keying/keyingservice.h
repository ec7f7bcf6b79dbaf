#pragma once
// The keying subsystem: the CW keyer, WinKey, the voice keyer, voice navigation and the RTTY link.
#include <QPointer>
#include <memory>

#include "core/mainwindow.h"
#include "core/services.h"
#include "core/state.h"
#include "keying/blindfrm_nav.h"
#include "keying/digitalsource.h"
#include "keying/phonefrm_keyer.h"

namespace fd {

class BlindFrm;
class CWKeyer;
class CWFrm;
class PhoneFrm;
class WinKeyer;
class frmWinKey;
class frmCWStrings;
class SerialPort;

class KeyingService final : public KeyingServices {
 public:
  explicit KeyingService(ProgramState& state);
  ~KeyingService() override;
  void attach(MainWindow& w) override;
  bool provides(Feature f) const override;
  void unload(SideWindow w) override;
  void releaseAll() override;

  // CW keyer (cwkeys.cpp).
  void fKeyCW(int& keyCode) override;
  void loopThroughCWBuffer() override;
  void cwSpeedUp() override;
  void cwSpeedDown() override;
  QString cwSpeedText() const override;
  void disableCWRepeat() override;
  void loadCWSettings() override;
  void showCWSetup(bool modal) override;
  void unloadCW();
  CWKeyer& cw() { return *cw_; }
  void showCWStrings() override;  // Ctrl+W: not modal, normal size
  frmCWStrings& loadCWStrings();

  // WinKey (winkeys.cpp).
  void wkClearBuf() override;
  int wkGetStatus() override;
  void wkBackspace() override;
  // The keyer's settings, loaded (WK.txt) at first use.
  WinKeyer& winKeyer();
  void unloadWinKey();
  void closeWinKeyer();  // the Close button's action, the window's labels with it
  void winKeyPortGone();  // the keyer's port vanished under it
  void showWinKeySetup();  // frmWinKey, modal
  CWFrm* cwFrm();  // loaded or not
  CWFrm& loadCWFrm();
  // CWFrm's load step without the window: the timing choice and the loop
  // count from the registry (a stored "Loop" with no count calibrates).
  void loadCWTiming();

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
  // The keyers' serial ports: Comm for the CW key line, CommPhone for the
  // voice keyer's PTT. One keyer holds a port at a time.
  std::unique_ptr<SerialPort> Comm, CommPhone;
  std::unique_ptr<SerialPort> WinKeyComm;  // the WinKey keyer's port

 private:
  void initCW();
  void initWinKey();
  std::unique_ptr<CWKeyer> cw_;
  std::unique_ptr<WinKeyer> wk_;
  // A child of the main window: it may go with it, so it is watched, not owned.
  QPointer<CWFrm> cwFrm_;
  QPointer<frmWinKey> wkFrm_;
  QPointer<frmCWStrings> cwStrings_;
};

}  // namespace fd
