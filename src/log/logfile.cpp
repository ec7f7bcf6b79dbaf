#include "log/logfile.h"

#include <algorithm>
#include <iterator>

#include "platform/cp1252.h"
#include "platform/items.h"

namespace fd::logfile {

namespace {
using items::breaksItem;

void appendField(QString& line, const QString& f) {
  if (std::none_of(f.begin(), f.end(), breaksItem)) {
    line += f;  // the usual case
    return;
  }
  for (QChar c : f)
    if (!breaksItem(c)) line += c;
}
}  // namespace

QString lineField(const QString& text) {
  QString out;
  appendField(out, text);
  return out;
}

void cleanRecord(QsoRecord& r) {
  for (QString* f : {&r.Call, &r.Class, &r.Section, &r.Date, &r.Time, &r.Band, &r.Mode, &r.Initials, &r.Freq})
    if (std::any_of(f->begin(), f->end(), breaksItem)) *f = lineField(*f);
}

QByteArray formatLine(const QsoRecord& r) {
  QString line;
  line.reserve(96);
  for (const QString* f : {&r.Call, &r.Class, &r.Section, &r.Date, &r.Time, &r.Band, &r.Mode, &r.Initials, &r.Freq}) {
    line += u'"';
    appendField(line, *f);
    line += QLatin1String("\",");
  }
  line += QLatin1String("\"\"\r\n");
  return cp1252::encode(line);
}

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// `same` is the field as the line before held it: most fields repeat from
// record to record (date, band, mode, class, initials), and an equal text
// shares that string instead of making another.
QString decodeItem(QByteArrayView bytes, bool ascii, const QString* same) {
  if (!ascii) return cp1252::decode(bytes.toByteArray());
  if (same && QLatin1StringView(bytes) == *same) return *same;
  return QString::fromLatin1(bytes);  // plain ASCII, the usual case
}

// One pass over the line's bytes: each item is decoded straight into its
// field. The items are those of the settings files (a quoted text with nothing
// escaped, or a bare text, blanks around it dropped), with one rule more: a
// double quote inside a bare item or after a closing quote makes the line no
// record, since writing it back would change it.
std::optional<QsoRecord> parseRecord(QByteArrayView line, const QsoRecord* before) {
  if (line.endsWith('\r')) line.chop(1);
  if (line.isEmpty()) return std::nullopt;
  QsoRecord r;
  QString* const fields[9] = {&r.Call, &r.Class, &r.Section, &r.Date, &r.Time, &r.Band, &r.Mode, &r.Initials, &r.Freq};
  const QString* prev[9] = {};
  if (before) {
    const QString* const b[9] = {&before->Call, &before->Class,    &before->Section, &before->Date, &before->Time,
                                 &before->Band, &before->Mode, &before->Initials, &before->Freq};
    std::copy(std::begin(b), std::end(b), prev);
  }
  const qsizetype n = line.size();
  unsigned char high = 0;  // one pass the compiler can widen; most logs are plain ASCII
  for (char c : line) high |= static_cast<unsigned char>(c);
  const bool ascii = (high & 0x80) == 0;
  qsizetype i = 0;
  int count = 0;
  while (true) {
    qsizetype q = i;
    while (q < n && isBlank(line[q])) ++q;
    qsizetype from, to, next;  // the item's text, and where the next item starts (n: none)
    bool last = false;
    if (q < n && line[q] == '"') {
      from = q + 1;
      to = line.sliced(from).indexOf('"');
      if (to < 0) {
        // A quote left open is a line cut short: harmless in the dropped tenth
        // item, a damaged record anywhere before it.
        if (count != 9) return std::nullopt;
        ++count;
        break;
      }
      to += from;
      qsizetype after = to + 1;
      while (after < n && isBlank(line[after])) ++after;
      if (after < n && line[after] != ',') return std::nullopt;
      next = after + 1;
      last = after >= n;
    } else {
      qsizetype comma = line.sliced(i).indexOf(',');
      comma = comma < 0 ? n : comma + i;
      from = i;
      to = comma;
      while (from < to && isBlank(line[from])) ++from;
      while (to > from && isBlank(line[to - 1])) --to;
      if (line.sliced(from, to - from).contains('"')) return std::nullopt;
      next = comma + 1;
      last = comma >= n;
    }
    if (count < 9) *fields[count] = decodeItem(line.sliced(from, to - from), ascii, prev[count]);
    if (++count > 10) return std::nullopt;
    if (last) break;
    i = next;
    if (i >= n) {  // a trailing comma ends with an empty item
      ++count;
      break;
    }
  }
  if (count < 9 || count > 10) return std::nullopt;
  return r;
}
}  // namespace

std::optional<QsoRecord> parseLine(QByteArrayView line) { return parseRecord(line, nullptr); }

LoadResult load(const QString& path) {
  LoadResult out;
  QByteArray data;
  const FileResult r = readWholeFile(path, data);
  if (!r.ok) {
    out.error = r.error;
    return out;
  }
  out.opened = true;
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // The log's own room: it takes this vector whole. (The fuzz build, which
  // loads thousands of small files a second, leaves out the 3 MB.)
  out.records.reserve(QsoLog::kMaxRecords);
#endif
  qsizetype start = 0;
  const qsizetype n = data.size();
  while (start < n) {
    qsizetype end = data.indexOf('\n', start);
    if (end < 0) end = n;
    QByteArrayView line = QByteArrayView(data).sliced(start, end - start);
    start = end + 1;
    if (line.endsWith('\r')) line.chop(1);
    if (line.isEmpty()) continue;
    auto rec = parseRecord(line, out.records.empty() ? nullptr : &out.records.back());
    if (!rec) {
      ++out.unreadable;
      out.kept.append(line.toByteArray());
    } else if (static_cast<int>(out.records.size()) >= QsoLog::kMaxRecords) {
      ++out.overLimit;
      out.kept.append(line.toByteArray());
    } else {
      // A lone CR inside a field: held as a rewrite will write it. (A quote
      // inside a field leaves the line unreadable, and LF ends it.)
      if (line.contains('\r')) cleanRecord(*rec);
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
