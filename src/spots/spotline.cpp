#include "spots/spotline.h"

#include <cmath>

namespace fd::spotline {

QString column(const QString& line, int from, int count) {
  if (from < 1 || count <= 0 || from > line.size()) return {};
  return line.mid(from - 1, count);
}

QString columnsFrom(const QString& line, int from) {
  if (from < 1 || from > line.size()) return {};
  return line.mid(from - 1);
}

namespace {
QString trimWhere(const QString& text, bool (*strip)(QChar)) {
  qsizetype a = 0, b = text.size();
  while (a < b && strip(text[a])) ++a;
  while (b > a && strip(text[b - 1])) --b;
  return text.mid(a, b - a);
}
}  // namespace

QString trimBlanks(const QString& text) {
  return trimWhere(text, [](QChar c) { return c == u' '; });
}

QString trimField(const QString& text) {
  return trimWhere(text, [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; });
}

bool isSpotLine(const QString& line) {
  return line.size() >= 2 && line.left(2).compare(QLatin1String("DX"), Qt::CaseInsensitive) == 0;
}

Fields fields(const QString& line) {
  return {trimField(column(line, 16, 9)), trimField(column(line, 27, 13))};
}

bool record(const QString& line, QString& out) {
  if (line.size() < 3) return false;
  out = trimBlanks(line.right(line.size() - 3));
  return true;
}

bool isPlainDecimal(const QString& text) {
  int digits = 0, points = 0;
  for (QChar c : text) {
    if (c >= u'0' && c <= u'9') ++digits;
    else if (c == u'.') ++points;
    else return false;
  }
  if (digits == 0 || points > 1) return false;
  return text.toDouble() > 0;
}

std::optional<double> acceptedMhz(const QString& freq, const QString& call) {
  // Only a plain decimal number: "1E99" would overflow half way through the
  // shift and leave a slot with the new call and the old frequency.
  if (!isPlainDecimal(freq) || call.isEmpty()) return std::nullopt;
  // The serial and telnet links split lines at line feeds only: a CR inside
  // the call columns (or a line feed, from any other caller) is no call.
  if (call.contains(u'\r') || call.contains(u'\n')) return std::nullopt;
  // The store keeps single precision: a value that is no longer above 0 and
  // finite there is refused.
  const double mhz = freq.toDouble() / 1000.0;
  const float single = static_cast<float>(mhz);
  if (!std::isfinite(single) || !(single > 0)) return std::nullopt;
  return mhz;
}

}  // namespace fd::spotline
