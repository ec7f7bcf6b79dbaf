#include "spots/spotintake.h"

#include <QStringList>
#include <algorithm>
#include <utility>

#include "spots/spotline.h"

namespace fd {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kCrLf2 = QStringLiteral("\r\n\r\n");

// Every CR and every LF becomes a CR LF pair.
QString lineBreaks(const QString& text) {
  QString out;
  out.reserve(text.size() + 16);
  for (QChar c : text) {
    if (c == u'\r' || c == u'\n') out += kCrLf;
    else out += c;
  }
  return out;
}

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
  // From the length less 800, counted from 1.
  qsizetype start = monitor_.size() - 801;
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

namespace {

// The frame text's tidy: a lone line break is nothing; text ending in two
// line breaks loses the last one.
QString tidyAgwText(QString text) {
  if (text == kCrLf) text.clear();
  else if (text.size() > 4 && text.endsWith(kCrLf2)) text.chop(2);
  return text;
}

// A spot line of the AGW link: "DX" at its first or second character.
bool agwSpotStart(const QString& line) {
  const qsizetype dx = line.indexOf(QLatin1String("DX"), 0, Qt::CaseInsensitive);
  return dx == 0 || dx == 1;
}

// A line begun but not ended that more text could still make a spot line.
bool mayBecomeSpot(const QString& begun) {
  if (agwSpotStart(begun) || begun.size() < 2) return true;
  return begun.size() == 2 && begun[1].toUpper() == u'D';
}

}  // namespace

void SpotIntake::agwSpot(const QString& line) {
  QString spot = line;
  while (spot.endsWith(u'\r') || spot.endsWith(u'\n')) spot.chop(1);
  // Columns count from the "DX".
  spot = spot.mid(spot.indexOf(QLatin1String("DX"), 0, Qt::CaseInsensitive)) + kCrLf;
  if (seenRecently(spot)) return;
  appendMonitor(spot);
  postLine(spot);
  TrimMonitor();
}

void SpotIntake::receiveConnectedData(const QString& data, AgwLine& line) {
  // The station's text is shown as it comes; a line that may be a spot line
  // is held back until it ends, then tested and posted whole, once.
  QString plain;
  auto showPlain = [&] {
    const QString t = tidyAgwText(lineBreaks(plain));
    plain.clear();
    if (dxOnly || t.isEmpty()) return;
    appendMonitor(t);
    TrimMonitor();
  };
  qsizetype pos = 0;
  while (pos < data.size()) {
    qsizetype end = pos;
    while (end < data.size() && data[end] != u'\r' && data[end] != u'\n') ++end;
    const bool ends = end < data.size();
    const QString piece = data.mid(pos, end - pos + (ends ? 1 : 0));
    pos += piece.size();
    if (line.shown) {
      plain += piece;
      line.shown = !ends;
      continue;
    }
    const QString text = std::exchange(line.held, QString()) + piece;
    if (!ends) {
      if (mayBecomeSpot(text) && text.size() <= kMaxPartialLine) {
        line.held = text;
      } else {
        plain += text;
        line.shown = true;
      }
      break;
    }
    if (agwSpotStart(text)) {
      showPlain();
      agwSpot(text);
    } else {
      plain += text;
    }
  }
  showPlain();
}

SpotIntake::AgwEvent SpotIntake::receiveAgw(const agw::Frame& f, QString& connectedCall, AgwLine& line) {
  const bool fromConnected = !connectedCall.isEmpty() && f.callFrom.compare(connectedCall, Qt::CaseInsensitive) == 0;
  if (f.kind == 'D' && fromConnected) {
    receiveConnectedData(QString::fromLatin1(f.data), line);
    return AgwEvent::None;
  }
  const QString data = QString::fromLatin1(f.data);
  const QString display = lineBreaks(QString(QChar(f.kind)) + f.callFrom + u' ' + data);
  QString text = lineBreaks(data);
  if (connectedCall.isEmpty()) {
    const qsizetype lf = text.indexOf(u'\n');
    text = spotline::trimBlanks(lf < 0 ? QString() : text.mid(lf + 1));
  }
  text = tidyAgwText(text);

  // Each line of the frame text is tested and posted on its own.
  bool anySpot = false;
  for (const QString& l : text.split(kCrLf)) {
    if (l.isEmpty() || !agwSpotStart(l)) continue;
    anySpot = true;
    agwSpot(l);
  }
  const bool startsDx = text.startsWith(QLatin1String("DX"), Qt::CaseInsensitive) || anySpot;
  if (fromConnected && !dxOnly && !startsDx) {
    appendMonitor(text);
    TrimMonitor();
  }
  if (connectedCall.isEmpty() && !dxOnly && !display.contains(QLatin1String("DX ")) && !startsDx) {
    appendMonitor(display);
    TrimMonitor();
  }
  if (f.kind == 'd' && fromConnected) {
    appendMonitor(kCrLf + QStringLiteral("** Disconnected from ") + connectedCall + QStringLiteral(" **") + kCrLf);
    TrimMonitor();
    connectedCall.clear();
    line.clear();
    return AgwEvent::Disconnected;
  }
  if (f.kind == 'c' && connectedCall.isEmpty()) {
    connectedCall = f.callFrom;
    appendMonitor(QStringLiteral("** Connected to ") + connectedCall + QStringLiteral(" **"));
    TrimMonitor();
    return AgwEvent::Connected;
  }
  return AgwEvent::None;
}

}  // namespace fd
