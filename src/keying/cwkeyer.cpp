#include "keying/cwkeyer.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cmath>

#include "keying/morse.h"
#include "platform/keylines.h"
#include "platform/numtext.h"
#include "platform/platform.h"
#include "platform/serial.h"
#include "platform/wait.h"

namespace fd {
namespace {

double virtualLoopNs = 0;
std::vector<double> virtualLoopNsNext;  // the rates of the next counts
double counted = 0;

const QString kInvalidPortTitle = QStringLiteral("Invalid port.");
const QString kInvalidPortText =
    QStringLiteral("The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.");

}  // namespace

__attribute__((noinline)) void countLoop(double limit) {
  volatile double c = 0;
  while (c < limit) c = c + 1;
  counted += c;
  if (!virtualLoopNsNext.empty()) {
    virtualLoopNs = virtualLoopNsNext.front();
    if (virtualLoopNsNext.size() > 1) virtualLoopNsNext.erase(virtualLoopNsNext.begin());
  }
  if (virtualLoopNs > 0 && clock().isVirtual())
    if (auto* fake = dynamic_cast<FakeClock*>(&clock())) fake->advanceNs(std::llround(c * virtualLoopNs));
}

void setVirtualLoopNs(double ns) {
  virtualLoopNs = ns;
  virtualLoopNsNext.clear();
}
void setVirtualLoopNs(std::vector<double> byCount) { virtualLoopNsNext = std::move(byCount); }
double loopIterationsCounted() { return counted; }

CWKeyer::CWKeyer(ProgramState& state, SerialPort& comm, SerialPort& commPhone)
    : s(state), Comm(comm), CommPhone(commPhone) {
  tmrRepeat.setSingleShot(false);
  connect(&tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });
}

// ---- the key line --------------------------------------------------------

bool CWKeyer::setLine(bool down) {
  switch (s.KeyingType) {
    case 1: return setSerialKeyLine(Comm, true, down);
    case 2: return setSerialKeyLine(Comm, false, down);
    case 3: {
      bool ok = false;
      const int base = parseParallelBase(set.Text[14], &ok);
      return ok && out32(base + 2, down ? 3 : 2);
    }
    default: return true;  // None and WinKey key nothing here
  }
}

void CWKeyer::raiseLines() {
  if (Comm.rtsEnable()) setSerialKeyLine(Comm, true, false);
  if (Comm.dtrEnable()) setSerialKeyLine(Comm, false, false);
  bool ok = false;
  const int base = parseParallelBase(set.Text[14], &ok);
  if (ok) releaseParallel(base);
}

// One unit from startNs: false when the character must end (a speed or loop
// count that cannot time it, or a stop request).
bool CWKeyer::waitUnit(std::int64_t startNs, bool keyDown) {
  const std::optional<double> wpm = numericValue(set.Text[11]);
  if (!wpm || *wpm <= 0) return false;
  const double unit = morse::unitMs(*wpm);
  const CWTiming method = set.timing;
  if (method == CWTiming::Loop && !(set.LoopsPer60ms > 0)) return false;
  Clock& c = clock();
  const std::int64_t deadlineNs = startNs + static_cast<std::int64_t>(unit * 1e6);
  if (!keyDown) {
    // Events run while the line is up, until shortly before the edge.
    const std::int64_t yieldEnd = deadlineNs - kYieldMarginMs * 1'000'000LL;
    const std::int64_t left = yieldEnd - c.monotonicNs();
    if (left > 0) {
      WaitOptions o;
      o.limitMs = (left + 999'999) / 1'000'000;
      o.input = WaitInput::LetThrough;
      o.stepMs = 1;
      // The Loop method keys on a core kept as busy as it was calibrated on.
      o.spin = method == CWTiming::Loop;
      waitUntil([&] { return stopped_ || c.monotonicNs() >= yieldEnd; }, o);
    }
    if (stopped_) return false;
  }
  switch (method) {
    case CWTiming::Timer: {
      // The first millisecond reading at or past the edge.
      const double end = static_cast<double>(startNs / 1'000'000) + unit;
      while (static_cast<double>(c.monotonicMs()) < end)
        if (c.isVirtual()) c.advanceMs(1);
      break;
    }
    case CWTiming::Sleep:
      c.sleepUntilNs(startNs + static_cast<std::int64_t>(roundHalfEven(unit)) * 1'000'000);
      break;
    case CWTiming::Loop:
      if (keyDown) countLoop(set.LoopsPer60ms * 20 / *wpm);
      else countLoop(kYieldMarginMs * set.LoopsPer60ms / 60);
      break;
  }
  return !stopped_;
}

void CWKeyer::Transmit(const QString& ch) {
  if (s.KeyingType == 0 || stopped_) return;
  if ((s.KeyingType == 1 || s.KeyingType == 2) && !Comm.isOpen()) CWSetup();
  if (stopped_) return;
  QString units = morse::pattern(ch);
  if (ch == QLatin1String("!")) {
    if (main && !main->fieldText(MainWindow::Field::Call).isEmpty()) main->Mains();
    return;
  }
  if (ch == QLatin1String(" ")) {
    const std::optional<double> n = numericValue(set.txtSpace);
    if (!n) return;
    units = morse::wordSpace(*n);
  }
  if (units.isEmpty()) return;
  // A speed or loop count that cannot time a unit keys nothing and takes no time.
  const std::optional<double> wpm = numericValue(set.Text[11]);
  if (!wpm || *wpm <= 0) return;
  if (set.timing == CWTiming::Loop && !(set.LoopsPer60ms > 0)) return;

  bool down = false;
  for (QChar u : units) {
    const bool keyDown = u == u'1';
    const std::int64_t start = clock().monotonicNs();
    const bool ok = setLine(keyDown);
    if (ok) down = keyDown;
    if (!ok || !waitUnit(start, keyDown)) {
      // Never left keyed: every early exit after a key-down raises the line.
      if (down && !stopped_) setLine(false);
      return;
    }
  }
}

void CWKeyer::CWSetup() {
  if (Comm.isOpen()) Comm.close();
  bool failed = false;
  const std::optional<double> n = numericValue(set.Text[10]);
  if (!n || std::abs(*n) > 32767) {
    failed = true;
  } else if (const int port = static_cast<int>(roundHalfEven(*n)); port > 0) {
    // One keyer per serial port: the voice keyer's port goes, whatever its number.
    if (CommPhone.isOpen()) CommPhone.close();
    Comm.setProgramFolder(s.ProgDir);
    Comm.setCommPort(port);
    Comm.setDTREnable(false);
    Comm.setRTSEnable(false);
    failed = !Comm.open();
  }
  if (!failed) return;
  const int unloads = setupUnloads;
  dialogs().beep();
  dialogs().message(kInvalidPortTitle, kInvalidPortText, Buttons::Ok);
  // Unloaded while the box was up: no window built afresh.
  if (setupUnloads != unloads) return;
  if (setupVisible && !setupVisible() && showSetupModal) showSetupModal();
}

// ---- messages and the buffer --------------------------------------------

QString CWKeyer::expandWildcards(const QString& message) {
  QString m = message;
  auto pass = [&m](QChar wildcard, const std::function<QString()>& replacement) {
    // The walk goes on after the inserted text, so a replacement holding the
    // wildcard is not expanded again; an empty one skips the character that
    // moved in ("##" leaves "#").
    for (int i = 0; i < m.size();) {
      if (m[i] != wildcard) { ++i; continue; }
      const QString r = replacement();
      m = m.left(i) + r + m.mid(i + 1);
      i += std::max<int>(1, static_cast<int>(r.size()));
    }
  };
  pass(u'$', [this] { return s.CallText.trimmed(); });
  pass(u'#', [this] { return QString(CWNumber).remove(u' '); });
  pass(u'*', [this] {
    if (CWRST.isEmpty() || CWRST == QLatin1String("599")) CWRST = QStringLiteral("5NN");
    return QString(CWRST).remove(u' ');
  });
  return m;
}

void CWKeyer::FKeyCW(int& keyCode) {
  s.CWBuffer.clear();
  if (s.KeyingType != 0 && ((keyCode > 111 && keyCode < 125) || s.KeyboardCW == 1)) {
    QString message;
    bool failed = false;
    switch (keyCode) {
      case 112: {
        message = set.Text[1];
        const std::optional<double> secs = numericValue(set.txtCWLoop);
        if (!secs) failed = true;  // ends the call: nothing sent
        else if (*secs > 0) s.CWRepeat = 1;
        break;
      }
      case 113: case 114: case 115: case 116: case 117: case 118: case 119: case 120:
        message = set.Text[keyCode - 111];
        break;
      case 124: message = set.Text[12]; break;
      case 122: message = set.Text[13]; break;
      default:
        if (s.KeyboardCW == 1 && keyCode < 112 && keyCode > 0) message = QString(QChar(keyCode)).toUpper();
        break;
    }
    if (failed) return;
    if (!message.isEmpty()) {
      s.CWBuffer += expandWildcards(message);
      LoopThroughCWBuffer();
    }
  }
  // Typed keys ran between the characters; any left wait until the key that
  // started the message is done.
  runPendingEvents();
}

void CWKeyer::LoopThroughCWBuffer() {
  if (stopped_) {
    s.CWBuffer.clear();
    return;
  }
  if (s.KeyingType == 5) {
    if (main && !main->fieldText(MainWindow::Field::Call).isEmpty() && s.CWBuffer.contains(u'!')) main->Mains();
    if (wkTransmit) wkTransmit();
    else s.CWBuffer.clear();  // no WinKey keyer: nothing is sent
    if (s.CWRepeat == 1 && set.repeatMs > 0) tmrRepeat.start(set.repeatMs);
    return;
  }
  // A drain is running (this call came from an event inside a character):
  // it sends what is in the buffer next.
  if (s.CWSending == 1) return;
  s.CWSending = 1;
  while (!s.CWBuffer.isEmpty() && !stopped_) {
    const QString ch = s.CWBuffer.left(1);
    s.CWBuffer.remove(0, 1);
    Transmit(ch);
    if (set.Check1 != 0 && main) main->setStatus(s.CWBuffer);
    QCoreApplication::processEvents();
  }
  // The repeat interval runs from the end of the drain; a 0 ms timer would
  // fire on every pass of the event loop, so none is started.
  if (s.CWRepeat == 1 && set.repeatMs > 0 && !stopped_) tmrRepeat.start(set.repeatMs);
  s.CWSending = 0;
  if (set.Check1 != 0 && main)
    main->setStatus(s.KeyboardCW != 0 ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.") : QString());
}

void CWKeyer::tmrRepeat_Timer() {
  tmrRepeat.stop();
  int f1 = 112;
  FKeyCW(f1);
}

void CWKeyer::disableRepeat() {
  s.CWRepeat = 0;
  tmrRepeat.stop();
}

bool CWKeyer::applyRepeatSeconds() {
  const std::optional<double> v = numericValue(set.txtCWLoop);
  if (v && *v >= 0 && *v < 60) {
    set.repeatMs = static_cast<int>(roundHalfEven(*v * 1000));
    return true;
  }
  set.txtCWLoop = QStringLiteral("0");
  set.repeatMs = 0;
  return false;
}

// ---- speed ---------------------------------------------------------------

void CWKeyer::UpDown1_UpClick() {
  if (const std::optional<double> v = numericValue(set.Text[11])) {
    set.Text[11] = numtext::fromDouble(*v + 1);
    Text11_Change();
    if (settingsChanged) settingsChanged();
  }
}

void CWKeyer::UpDown1_DownClick() {
  if (const std::optional<double> v = numericValue(set.Text[11])) {
    set.Text[11] = numtext::fromDouble(*v - 1);
    Text11_Change();
    if (settingsChanged) settingsChanged();
  }
}

void CWKeyer::Text11_Change() {
  const std::optional<double> v = numericValue(set.Text[11]);
  if (v && *v > 4 && *v < 100 && s.KeyingType == 5 && s.WinKeyOpen > 0 && wkWpm)
    wkWpm(static_cast<int>(roundHalfEven(*v)));
}

void CWKeyer::CheckCWKey(int& keyAscii) {
  if (keyAscii >= 'a' && keyAscii <= 'z') keyAscii -= 32;
}

bool CWKeyer::CalibrateCWLoop() {
  // The count is timed as the keyer runs it: on a busy core (one untimed
  // count first wakes an idle one up to speed), and as the middle of three
  // timings, so that one that the system interrupted is not the one taken.
  Clock& c = clock();
  countLoop(5'000'000);
  std::array<double, 3> ms{};
  for (double& m : ms) {
    const std::int64_t start = c.monotonicNs();
    countLoop(5'000'000);
    m = static_cast<double>(c.monotonicNs() - start) / 1e6;
  }
  std::sort(ms.begin(), ms.end());
  const double elapsedMs = ms[1];
  if (!(elapsedMs > 0)) return false;  // the count stays as it was
  set.LoopsPer60ms = roundHalfEven(5'000'000 / elapsedMs * 60);
  return true;
}

void CWKeyer::stopAll() {
  stopped_ = true;
  s.CWBuffer.clear();
  s.CWRepeat = 0;
  tmrRepeat.stop();
  raiseLines();
}

}  // namespace fd
