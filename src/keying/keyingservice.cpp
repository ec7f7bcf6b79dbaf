#include "keying/keyingservice.h"

#include "keying/blindfrm.h"
#include "keying/cwfrm.h"
#include "keying/cwkeyer.h"
#include "keying/phonefrm.h"
#include "keying/winkeyer.h"
#include "keying/winkeyfrm.h"
#include "keying/cwstrings.h"
#include "platform/keylines.h"
#include "platform/serial.h"

namespace fd {

KeyingService::KeyingService(ProgramState& state)
    : s(state),
      Comm(makeSerialPort()),
      CommPhone(makeSerialPort()),
      WinKeyComm(makeSerialPort()),
      cw_(std::make_unique<CWKeyer>(state, *Comm, *CommPhone)),
      wk_(std::make_unique<WinKeyer>(state, *WinKeyComm, *Comm, *CommPhone)) {
  initCW();
  initWinKey();
}

// Never left keyed: the lines go up before the devices close.
KeyingService::~KeyingService() {
  WinKeyComm->onVanished = nullptr;
  releaseAll();
  delete cwFrm_.data();
  delete wkFrm_.data();
  delete cwStrings_.data();
  // The windows and keyers that use the ports go before the ports.
  unloadPhone();
  unloadBlind();
  unloadZell();
}

void KeyingService::attach(MainWindow& w) {
  main = &w;
  cw_->main = &w;
}

// What is built; a menu item or hot key of a feature not built stays inactive.
bool KeyingService::provides(Feature f) const {
  switch (f) {
    case Feature::CWSetup: return true;
    case Feature::PhoneSetup: return true;
    case Feature::Zell: return true;
    case Feature::VoiceNav: return true;
    case Feature::CWStrings: return true;
    case Feature::CWKeys: return true;
    case Feature::PhoneKeys: return true;
  }
  return false;
}

void KeyingService::releaseAll() {
  // Every sending loop and repeat stops first, so nothing keys afterwards.
  cw_->stopAll();
  wk_->release();  // clear its buffer, host close, port closed
  releaseVoice();
  Comm->close();
  CommPhone->close();
  releaseAllParallel();
}

}  // namespace fd

namespace fd {

void KeyingService::unload(SideWindow w) {
  switch (w) {
    case SideWindow::CWFrm: unloadCW(); break;
    case SideWindow::frmCWStrings: delete cwStrings_.data(); break;
    case SideWindow::frmWinKey: unloadWinKey(); break;
    case SideWindow::frmDigitalSource: unloadZell(); break;
    case SideWindow::PhoneFrm: unloadPhone(); break;
    case SideWindow::BlindFrm: unloadBlind(); break;
    default: break;
  }
}

}  // namespace fd
