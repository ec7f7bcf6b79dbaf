// The keying service's CW calls: the main window's hot keys, the CW window and
// the start-up restore of cw.txt.
#include <QDir>
#include <QFile>

#include "keying/cwfrm.h"
#include "keying/cwkeyer.h"
#include "keying/cwstrings.h"
#include "keying/codepracticefrm.h"
#include "keying/keyingservice.h"
#include "platform/forms.h"
#include "platform/registry.h"
#include "platform/safefile.h"
#include "platform/serial.h"

namespace fd {

void KeyingService::initCW() {
  cw_->setupVisible = [this] { return cwFrm_ && cwFrm_->isVisible(); };
  cw_->showSetupModal = [this] { showCWSetup(true); };
  cw_->settingsChanged = [this] { if (cwFrm_) cwFrm_->fillFromSettings(); };
}

CWFrm* KeyingService::cwFrm() { return cwFrm_.data(); }

CWFrm& KeyingService::loadCWFrm() {
  if (!cwFrm_) {
    cwFrm_ = new CWFrm(*cw_, s, main, main ? main->window() : nullptr);
    cwFrm_->configureWinKey = [this] { showWinKeySetup(); };
    cwFrm_->winKeyChosen = [this] { winKeyer(); };
    cwFrm_->showMessageList = [this] { loadCWStrings().showMinimized(); };
    // Modal; unloaded when it closes, and the buffer emptied.
    cwFrm_->showCodePractice = [this] {
      QPointer<frmCodePractice> w = new frmCodePractice(*cw_, cwFrm_.data());
      showModal(w.data());
      delete w.data();
      s.CWBuffer.clear();
    };
  }
  return *cwFrm_;
}

void KeyingService::fKeyCW(int& keyCode) { cw_->FKeyCW(keyCode); }
void KeyingService::loopThroughCWBuffer() { cw_->LoopThroughCWBuffer(); }
void KeyingService::cwSpeedUp() { cw_->UpDown1_UpClick(); }
void KeyingService::cwSpeedDown() { cw_->UpDown1_DownClick(); }
QString KeyingService::cwSpeedText() const { return cw_->set.Text[11]; }
void KeyingService::disableCWRepeat() { cw_->disableRepeat(); }

void KeyingService::showCWSetup(bool modal) {
  CWFrm& w = loadCWFrm();
  w.fillFromSettings();
  if (modal) {
    // Also when Ctrl+C showed it without blocking: shown again, modal, in front.
    showModal(&w);
  } else {
    showModeless(&w);
    w.setWindowState(Qt::WindowNoState);
  }
}

frmCWStrings& KeyingService::loadCWStrings() {
  if (!cwStrings_) {
    cwStrings_ = new frmCWStrings(*cw_, s, main, main ? main->window() : nullptr);
    // The close box unloads it; the next Ctrl+W builds it again.
    cwStrings_->onClosed = [w = cwStrings_.data()] { w->deleteLater(); };
  }
  return *cwStrings_;
}

void KeyingService::showCWStrings() {
  frmCWStrings& w = loadCWStrings();
  showModeless(&w);
  w.setWindowState(Qt::WindowNoState);
}

void KeyingService::unloadCW() {
  ++cw_->setupUnloads;
  // The key line belongs to the CW window: up, then closed.
  cw_->raiseLines();
  Comm->close();
  // Gone now, or once its handlers on the stack have returned.
  if (CWFrm* w = cwFrm_.data()) {
    cwFrm_.clear();
    w->unload();
  }
}

void KeyingService::loadCWTiming() {
  CWSettings& set = cw_->set;
  Registry& reg = registry();
  const QString count = reg.GetSetting(QStringLiteral("Settings"), QStringLiteral("UserCWLoopOffset"), QStringLiteral("0"));
  if (const std::optional<double> v = numericValue(count)) set.LoopsPer60ms = *v;
  const std::optional<CWTiming> t =
      timingFromName(reg.GetSetting(QStringLiteral("Settings"), QStringLiteral("UserCWSelection"), QStringLiteral("Timer")));
  if (t) set.timing = *t;
  if (set.timing == CWTiming::Loop && set.LoopsPer60ms == 0) cw_->CalibrateCWLoop();
}

void KeyingService::loadCWSettings() {
  loadCWTiming();
  const QDir dir(s.ProgDir.isEmpty() ? QDir::currentPath() : s.ProgDir);
  // Written as "cw.txt"; an older "CW.txt" is read when only that exists.
  QString path = dir.filePath(QStringLiteral("cw.txt"));
  if (!QFile::exists(path) && QFile::exists(dir.filePath(QStringLiteral("CW.txt")))) path = dir.filePath(QStringLiteral("CW.txt"));
  QByteArray bytes;
  if (!readWholeFile(path, bytes).ok) return;  // nothing restored, nothing reported
  const CWRestore r = restoreCwTxt(bytes, cw_->set);
  if (r.keyingType) s.KeyingType = static_cast<std::uint8_t>(*r.keyingType);
  if (cwFrm_) cwFrm_->fillFromSettings();
}

}  // namespace fd
