#include "keying/winkeyer.h"

#include <QDir>
#include <QFile>

#include "keying/cwsettings.h"
#include "platform/platform.h"
#include "platform/safefile.h"
#include "platform/serial.h"
#include "platform/wait.h"

namespace fd {

QString wkOpenStatusText(int result) {
  switch (result) {
    case 0: return QStringLiteral("WK Success!");
    case -1: return QStringLiteral("No Echo Response");
    case -2: return QStringLiteral("Echo Mismatch");
    case -3: return QStringLiteral("No Open Response");
    case -4: return QStringLiteral("Com Open Failed");
    case -5: return QStringLiteral("Get Com ST Failed");
    case -6: return QStringLiteral("Set Com ST Failed");
    case -8: return QStringLiteral("WK Already Open");
    case -9: return QStringLiteral("WK Not Open");
    default: return {};
  }
}

WinKeyer::WinKeyer(ProgramState& state, SerialPort& port, SerialPort& comm, SerialPort& commPhone)
    : s(state), wk(port), port_(port), comm_(comm), commPhone_(commPhone) {}

void WinKeyer::load(const QString& dir) {
  loaded = true;
  WinKeyPinCfg = 6;
  WinKeyMode = 0;
  QByteArray bytes;
  if (readWholeFile(QDir(dir).filePath(QStringLiteral("WK.txt")), bytes).ok) {
    WKSettings f{WinKeyPort, box, WinKeyPinCfg, WinKeyMode};
    if (readWkTxt(bytes, f)) {
      WinKeyPort = f.port;
      box = f.box;
      WinKeyPinCfg = f.pinCfg;
      WinKeyMode = f.mode;
    }
  }
  if (cwSpeed) box.txtWKWPM = cwSpeed();  // the CW speed wins over the stored one
  box.txtWKComPort = QString::number(WinKeyPort);
}

QByteArray WinKeyer::wkTxtBytes() const { return fd::wkTxtBytes({WinKeyPort, box, WinKeyPinCfg, WinKeyMode}); }

bool WinKeyer::writeWkTxt(const QString& dir, QString* error) {
  const FileResult r = writeWholeFile(QDir(dir).filePath(QStringLiteral("WK.txt")), wkTxtBytes());
  if (!r.ok && error) *error = r.error;
  return r.ok;
}

void WinKeyer::cmdOpenWinkey_Click() {
  // One keyer per serial port: the voice keyer's and the CW key line's go.
  if (commPhone_.isOpen()) commPhone_.close();
  if (comm_.isOpen()) comm_.close();
  int version = 0;
  const int result = wk.wk_open(version, WinKeyPort, programFolder);
  if (version == 0 && result != -8) {
    dialogs().message(QStringLiteral("Unable to establish connection with Winkey."),
                      QStringLiteral("Unable to establish connection with WinKey on com port %1.  Please check to make "
                                     "sure that you have specified the correct port and that the Winkey device is "
                                     "properly connected.")
                          .arg(WinKeyPort),
                      Buttons::Ok);
  }
  if (const QString t = wkOpenStatusText(result); !t.isEmpty()) lblOpenStatus = t;
  if (result == -8) return;
  WKSendSettings();
  // A port that went away while the settings went out has closed the keyer already.
  if (version > 0 && wk.isOpen()) {
    s.WinKeyOpen = static_cast<std::uint8_t>(version);
    lblVersion = QStringLiteral("Version # %1").arg(version);
  }
}

namespace {
// The leave check of one setting box: a number within lo..hi is sent; other
// numbers are neither sent nor corrected; a non-number becomes the default.
void checkBox(QString& text, double lo, double hi, const QString& fallback, const std::function<void(int)>& send) {
  const std::optional<double> v = numericValue(text);
  if (!v) { text = fallback; return; }
  if (*v >= lo && *v <= hi) send(static_cast<int>(roundHalfEven(*v)));
}
}  // namespace

void WinKeyer::txtWKWPM_LostFocus() { checkBox(box.txtWKWPM, 0, 99, QStringLiteral("18"), [this](int n) { wk.wk_wpm(n); }); }
void WinKeyer::txtWeight_LostFocus() { checkBox(box.txtWeight, 0, 99, QStringLiteral("50"), [this](int n) { wk.wk_weight(n); }); }
void WinKeyer::txtRatio_LostFocus() { checkBox(box.txtRatio, 32, 67, QStringLiteral("50"), [this](int n) { wk.wk_ditdah_ratio(n); }); }

void WinKeyer::txtLeadIn_LostFocus() {
  const std::optional<double> lead = numericValue(box.txtLeadIn), tail = numericValue(box.txtTail);
  if (!lead || !tail) { box.txtLeadIn = QStringLiteral("0"); return; }
  if (*lead >= 0 && *lead <= 255 && *tail >= 0 && *tail <= 255)
    wk.wk_ptt_leadtail(static_cast<int>(roundHalfEven(*lead)), static_cast<int>(roundHalfEven(*tail)));
}

void WinKeyer::txtTail_LostFocus() {
  const std::optional<double> lead = numericValue(box.txtLeadIn), tail = numericValue(box.txtTail);
  if (!lead || !tail) { box.txtTail = QStringLiteral("0"); return; }
  if (*lead >= 0 && *lead <= 255 && *tail >= 0 && *tail <= 255)
    wk.wk_ptt_leadtail(static_cast<int>(roundHalfEven(*lead)), static_cast<int>(roundHalfEven(*tail)));
}

void WinKeyer::txtWKComPort_LostFocus() {
  const std::optional<double> v = numericValue(box.txtWKComPort);
  if (!v) { box.txtWKComPort = QStringLiteral("0"); WinKeyPort = 0; return; }
  WinKeyPort = (*v >= 0 && *v <= 255) ? static_cast<int>(roundHalfEven(*v)) : 0;
}

void WinKeyer::WKSendSettings() {
  txtWKWPM_LostFocus();
  txtWeight_LostFocus();
  txtLeadIn_LostFocus();
  txtRatio_LostFocus();
  wk.wk_pincfg(WinKeyPinCfg);
  wk.wk_setmode(WinKeyMode);
}

void WinKeyer::setPinCfg(int v) {
  WinKeyPinCfg = v;
  if (s.WinKeyOpen != 0) WKSendSettings();
}

void WinKeyer::setMode(int v) {
  WinKeyMode = v;
  if (s.WinKeyOpen != 0) WKSendSettings();
}

void WinKeyer::WKTransmit() {
  // A drain is running: it sends these characters in their order.
  if (transmitting_ || stopped_) return;
  if (s.WinKeyOpen == 0) cmdOpenWinkey_Click();
  if (s.WinKeyOpen == 0) {
    s.CWBuffer.clear();
    return;
  }
  transmitting_ = true;
  WaitOptions pause;
  pause.limitMs = 10;
  pause.input = WaitInput::LetThrough;
  while (!s.CWBuffer.isEmpty() && !stopped_) {
    s.WinKeyStatus = wk.wk_getstatus();
    while (s.WinKeyStatus > 4 && !stopped_) {
      waitUntil(nullptr, pause);
      s.WinKeyStatus = wk.wk_getstatus();
    }
    if (!s.CWBuffer.isEmpty() && !stopped_) {
      const int code = s.CWBuffer.at(0).unicode();
      if (code > 0) wk.wk_char(code);  // control codes are dropped inside wk_char
      s.CWBuffer.remove(0, 1);
      waitUntil(nullptr, pause);
    }
  }
  transmitting_ = false;
}

void WinKeyer::cmdCloseWinkey_Click() {
  wk.wk_close();
  lblOpenStatus = QStringLiteral("Closed");
  lblVersion = QStringLiteral("Version #");
  s.WinKeyOpen = 0;
}

void WinKeyer::cmdStop_Click() {
  wk.wk_clearbuf();
  s.CWBuffer.clear();
}

void WinKeyer::Command3_Click() {
  const bool wasEmpty = s.CWBuffer.isEmpty();
  s.CWBuffer += QStringLiteral("VVV TEST DE ") + s.MyCall;
  if (wasEmpty) WKTransmit();
}

void WinKeyer::Command1_Click() {
  const bool wasEmpty = s.CWBuffer.isEmpty();
  for (int i = 0; i < 3; ++i) s.CWBuffer += QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
  if (wasEmpty) WKTransmit();
}

bool WinKeyer::portWentAway() {
  if (stopped_ || !wk.hostOpened()) return false;
  // Left open as far as WinKeyOpen goes, every later write would go into a
  // closed port without a word; closed, the next WKTransmit opens it again
  // and says so when no keyer answers.
  cmdCloseWinkey_Click();
  s.CWBuffer.clear();
  return true;
}

void WinKeyer::release() {
  stopped_ = true;
  if (wk.isOpen()) wk.wk_clearbuf();
  cmdCloseWinkey_Click();  // 00 03, then the port closes
}

}  // namespace fd
