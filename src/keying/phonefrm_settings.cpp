#include "keying/phonefrm_settings.h"

#include <cmath>

#include "keying/cwsettings.h"
#include "platform/cp1252.h"
#include "platform/items.h"

namespace fd {

std::optional<double> boxValue(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
    bool ok = false;
    const qlonglong v = t.mid(2).toLongLong(&ok, 16);
    if (!ok) return std::nullopt;
    return static_cast<double>(v);
  }
  return numericValue(t);
}

std::optional<int> secondsToMs(double seconds) {
  const double ms = std::nearbyint(seconds * 1000.0);  // the default rounding: halves to even
  if (!std::isfinite(ms) || ms < 0 || ms > 2147483647.0) return std::nullopt;
  return static_cast<int>(ms);
}

int checkLoopBox(QString& text, bool* beep) {
  if (beep) *beep = false;
  const auto v = boxValue(text);
  if (v && *v >= 0 && *v < 60) {
    if (const auto ms = secondsToMs(*v)) return *ms;
    if (beep) *beep = true;
  }
  text = QStringLiteral("0");
  return 0;
}

QByteArray writeWave2(const WaveSettings& s) {
  QString out;
  const QString crlf = QStringLiteral("\r\n");
  for (const QString& path : s.Text) out += items::quote(path.trimmed()) + crlf;
  out += items::quote(s.Text10) + crlf;
  out += (s.option == WaveSettings::None ? QString() : QString::number(s.option)) + crlf;
  out += items::quote(s.txtPHLoop) + crlf;
  out += items::quote(s.Text11) + crlf;
  return cp1252::encode(out);
}

bool readWave2(const QByteArray& bytes, WaveSettings& s) {
  const QStringList lines = items::lines(cp1252::decode(bytes));
  int at = 0;
  // One item per line; a line that is missing ends the reading.
  auto next = [&](QString& out) {
    if (at >= lines.size()) return false;
    const items::Split split = items::splitItems(lines[at++]);
    out = split.items.isEmpty() ? QString() : items::storedText(split.items.first().text);
    return true;
  };
  QString item;
  for (QString& path : s.Text) {
    if (!next(item)) return false;
    path = item;
  }
  if (!next(item)) return false;
  s.Text10 = item;
  if (!next(item)) return false;
  const double line = item.trimmed().isEmpty() ? 0 : boxValue(item).value_or(-1);
  if (line == 0) s.option = WaveSettings::RTS;
  else if (line == 1) s.option = WaveSettings::DTR;
  else if (line == 2) s.option = WaveSettings::Parallel;
  if (!next(item)) return false;
  s.txtPHLoop = item;
  const auto seconds = boxValue(item);
  const auto ms = seconds ? secondsToMs(*seconds) : std::nullopt;
  if (!ms) return false;  // an empty pause cannot be multiplied: the reading ends here
  s.repeatMs = *ms;
  if (!next(item)) return false;
  s.Text11 = item;
  return true;
}

bool fitsWave2(const QString& text) {
  for (QChar c : text)
    if (c == u'"' || c == u'\r' || c == u'\n' || !cp1252::canEncode(c)) return false;
  return true;
}

}  // namespace fd
