#include "log/logfile.h"

#include "platform/cp1252.h"
#include "platform/items.h"

namespace fd::logfile {

QByteArray formatLine(const QsoRecord& r) {
  QString line;
  line.reserve(96);
  for (const QString* f : {&r.Call, &r.Class, &r.Section, &r.Date, &r.Time, &r.Band, &r.Mode, &r.Initials, &r.Freq}) {
    line += u'"';
    line += *f;
    line += QLatin1String("\",");
  }
  line += QLatin1String("\"\"\r\n");
  return cp1252::encode(line);
}

std::optional<QsoRecord> parseLine(const QByteArray& raw) {
  QByteArray bytes = raw;
  if (bytes.endsWith('\r')) bytes.chop(1);
  const items::Split split = items::splitItems(cp1252::decode(bytes));
  const auto& v = split.items;
  if (v.size() < 9 || v.size() > 10) return std::nullopt;
  // A quote left open is a line cut short: harmless in the dropped tenth item,
  // a damaged record anywhere before it.
  if (split.lastOpen && v.size() != 10) return std::nullopt;
  return QsoRecord{v[0].text, v[1].text, v[2].text, v[3].text, v[4].text,
                   v[5].text, v[6].text, v[7].text, v[8].text};
}

LoadResult load(const QString& path) {
  LoadResult out;
  QByteArray data;
  const FileResult r = readWholeFile(path, data);
  if (!r.ok) {
    out.error = r.error;
    return out;
  }
  out.opened = true;
  out.records.reserve(static_cast<size_t>(data.count('\n')) + 1);
  qsizetype start = 0;
  const qsizetype n = data.size();
  while (start < n) {
    qsizetype end = data.indexOf('\n', start);
    if (end < 0) end = n;
    QByteArray line = data.mid(start, end - start);
    start = end + 1;
    if (line.endsWith('\r')) line.chop(1);
    if (line.isEmpty()) continue;
    auto rec = parseLine(line);
    if (!rec) {
      ++out.unreadable;
      out.kept.append(line);
    } else if (static_cast<int>(out.records.size()) >= QsoLog::kMaxRecords) {
      ++out.overLimit;
      out.kept.append(line);
    } else {
      out.records.push_back(std::move(*rec));
    }
  }
  return out;
}

FileResult append(const QString& path, const QsoRecord& r) { return appendLine(path, formatLine(r)); }

FileResult rewrite(const QString& path, const std::vector<QsoRecord>& records, const QList<QByteArray>& kept) {
  QByteArray out;
  out.reserve(static_cast<qsizetype>(records.size()) * 64);
  for (const QsoRecord& r : records) out += formatLine(r);
  for (const QByteArray& k : kept) out += k + "\r\n";
  return writeWholeFile(path, out);
}

}  // namespace fd::logfile
