#include "platform/items.h"

#include <algorithm>
#include <cmath>

namespace fd::items {

Split splitItems(const QString& line) {
  Split result;
  QList<Item>& out = result.items;
  qsizetype i = 0;
  const qsizetype n = line.size();
  if (n == 0) return result;
  while (true) {
    Item item;
    // Blanks before an opening quote are skipped, as the classic item reader does.
    qsizetype q = i;
    while (q < n && (line[q] == u' ' || line[q] == u'\t')) ++q;
    if (q < n && line[q] == u'"') {
      i = q;
      const qsizetype close = line.indexOf(u'"', i + 1);
      if (close < 0) {
        item.text = line.mid(i + 1);
        item.quoted = true;
        out.append(item);
        result.lastOpen = true;
        return result;
      }
      item.text = line.mid(i + 1, close - i - 1);
      item.quoted = true;
      i = close + 1;
      // Anything between the closing quote and the next comma is dropped.
      const qsizetype comma = line.indexOf(u',', i);
      out.append(item);
      if (comma < 0) return result;
      i = comma + 1;
    } else {
      const qsizetype comma = line.indexOf(u',', i);
      item.text = line.mid(i, comma < 0 ? -1 : comma - i).trimmed();
      out.append(item);
      if (comma < 0) return result;
      i = comma + 1;
    }
    if (i >= n) {  // a trailing comma ends with an empty item
      out.append(Item{});
      return result;
    }
  }
}

std::optional<QList<Item>> splitLine(const QString& line) {
  Split s = splitItems(line);
  if (s.lastOpen) return std::nullopt;
  return std::move(s.items);
}

QString storedText(QString item) {
  item.removeIf(breaksItem);
  return item;
}

QString quote(const QString& text) {
  if (std::none_of(text.begin(), text.end(), breaksItem)) return u'"' + text + u'"';
  QString out(u'"');
  for (QChar c : text)
    if (!breaksItem(c)) out += c;
  return out + u'"';
}

QString number(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15)
    return QString::number(static_cast<qint64>(value));
  return QString::number(value, 'g', 7);
}

QString number(qint64 value) { return QString::number(value); }

std::optional<double> toDouble(const QString& item) {
  bool ok = false;
  const double v = item.trimmed().toDouble(&ok);  // QString::toDouble is C-locale
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<qint64> toInteger(const QString& item) {
  const auto d = toDouble(item);
  if (!d) return std::nullopt;
  if (*d != std::floor(*d) || std::fabs(*d) > 9.0e15) return std::nullopt;
  return static_cast<qint64>(*d);
}

QStringList lines(const QString& text) {
  QStringList out = text.split(u'\n');
  if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
  for (QString& l : out)
    if (l.endsWith(u'\r')) l.chop(1);
  return out;
}

}  // namespace fd::items
