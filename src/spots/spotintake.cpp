#include "spots/spotintake.h"

#include "spots/spotline.h"

namespace fd {

namespace {
struct BurstScope {
  const std::function<void(bool)>& f;
  explicit BurstScope(const std::function<void(bool)>& fn) : f(fn) { if (f) f(true); }
  ~BurstScope() { if (f) f(false); }
};
}  // namespace

void SpotIntake::setMonitor(const QString& text) {
  monitor_ = text;
  changed();
}

void SpotIntake::appendMonitor(const QString& text) {
  monitor_ += text;
  changed();
}

void SpotIntake::TrimMonitor() {
  if (monitor_.size() > 10000) {
    monitor_ = monitor_.right(9000);
    changed();
  }
}

bool SpotIntake::seenRecently(const QString& line) const {
  qsizetype start = monitor_.size() - 800;
  if (start < 0) start = 0;
  return monitor_.indexOf(line, start, Qt::CaseInsensitive) >= 0;
}

void SpotIntake::postLine(const QString& line) {
  if (!post) return;
  const spotline::Fields f = spotline::fields(line);
  post(f.freq, f.call, line);
}

void SpotIntake::handleLine(const QString& line, bool duplicateTest) {
  if (duplicateTest && seenRecently(line)) return;
  if (spotline::isSpotLine(line)) {
    appendMonitor(line);
    TrimMonitor();
    postLine(line);
  } else if (!dxOnly) {
    appendMonitor(line);
    TrimMonitor();
  }
}

void SpotIntake::receiveSerial(const QString& chunk) {
  if (chunk.isEmpty()) return;
  RxBuffer += chunk;
  if (RxBuffer.size() > 2) ProcessReceivedLines();
}

void SpotIntake::ProcessReceivedLines() {
  BurstScope scope(burst);
  // The buffer opens with the line feed that closed the last line; text
  // before the first line feed is dropped.
  const qsizetype first = RxBuffer.indexOf(u'\n');
  if (first < 0) {
    if (RxBuffer.size() > kMaxPartialLine) RxBuffer = QStringLiteral("\n");
    return;
  }
  qsizetype at = first;  // the line feed that opens the next line
  for (;;) {
    const qsizetype next = RxBuffer.indexOf(u'\n', at + 1);
    if (next < 0) break;
    handleLine(RxBuffer.mid(at + 1, next - at), true);
    at = next;
  }
  RxBuffer.remove(0, at);
  // A sender that never ends a line (CR-only lines, noise) cannot grow memory.
  if (RxBuffer.size() - 1 > kMaxPartialLine) RxBuffer = QStringLiteral("\n");
}

void SpotIntake::receiveTelnet(const QString& chunk) {
  if (chunk.isEmpty()) return;
  BurstScope scope(burst);
  if (!dxOnly) {
    appendMonitor(chunk);
    TrimMonitor();
  }
  telnetPartial_ += chunk;
  qsizetype start = 0;
  for (;;) {
    const qsizetype lf = telnetPartial_.indexOf(u'\n', start);
    if (lf < 0) break;
    const QString line = telnetPartial_.mid(start, lf - start + 1);
    if (spotline::isSpotLine(line)) {
      postLine(line);
      if (dxOnly) {
        appendMonitor(line);
        TrimMonitor();
      }
    }
    start = lf + 1;
  }
  telnetPartial_.remove(0, start);
  if (telnetPartial_.size() > kMaxPartialLine) telnetPartial_.clear();
}

}  // namespace fd
