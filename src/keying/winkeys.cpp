// The keying service's WinKey calls: the CW keyer's seam (WKTransmit, wk_wpm)
// and the main window's Esc and Backspace.
#include "keying/cwkeyer.h"
#include "keying/keyingservice.h"
#include "keying/winkeyer.h"
#include "keying/winkeyfrm.h"
#include "platform/forms.h"
#include "platform/platform.h"
#include "platform/serial.h"

namespace fd {

void KeyingService::initWinKey() {
  wk_->cwSpeed = [this] { return cw_->set.Text[11]; };
  cw_->wkTransmit = [this] { winKeyer().WKTransmit(); };
  cw_->wkWpm = [this](int n) { wk_->wk.wk_wpm(n); };
  WinKeyComm->onVanished = [this](const QString&) { winKeyPortGone(); };
}

// Told where the operator looks while sending; the setup window, when
// shown, says "Closed".
void KeyingService::winKeyPortGone() {
  if (!wk_->portWentAway()) return;
  if (wkFrm_) wkFrm_->refresh();
  if (main) main->setStatus(QStringLiteral("The WinKey's port went away: the keyer is closed until CW is sent again."));
  dialogs().beep();
}

WinKeyer& KeyingService::winKeyer() {
  wk_->programFolder = s.ProgDir;
  wk_->ensureLoaded(s.FieldDayDir);
  return *wk_;
}

void KeyingService::wkClearBuf() { wk_->wk.wk_clearbuf(); }
int KeyingService::wkGetStatus() { return wk_->wk.wk_getstatus(); }
void KeyingService::wkBackspace() { wk_->wk.wk_backspace(); }

// Unloading the keyer's window closes it and says so (WinKeyOpen 0), so the
// next WKTransmit opens it again rather than writing into a closed port.
void KeyingService::unloadWinKey() {
  if (frmWinKey* w = wkFrm_.data()) {
    wkFrm_.clear();
    w->unload();
  }
  wk_->cmdCloseWinkey_Click();
  wk_->loaded = false;
}

}  // namespace fd

namespace fd {

void KeyingService::closeWinKeyer() {
  wk_->cmdCloseWinkey_Click();
  if (wkFrm_) wkFrm_->refresh();
}

void KeyingService::showWinKeySetup() {
  WinKeyer& k = winKeyer();
  if (!wkFrm_) wkFrm_ = new frmWinKey(k, s.FieldDayDir, main ? main->window() : nullptr);
  wkFrm_->refresh();
  showModal(wkFrm_.data());
}

}  // namespace fd
