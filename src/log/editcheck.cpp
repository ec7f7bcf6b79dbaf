#include "log/editcheck.h"

#include "log/datetime.h"
#include "log/sectiontable.h"

namespace fd {

namespace editcheck {

// The date and time boxes read only their own kind: a time typed into the
// date box (or a date into the time box) would be stored where the rates, the
// exports and the backups expect the other, so it is refused.
std::optional<QString> date(const QString& text, const QString& stored) {
  if (text == stored) return stored;
  const auto d = datetime::parseDate(text);
  if (!d) return std::nullopt;
  return datetime::formatDate(*d);
}

std::optional<QString> time(const QString& text, const QString& stored) {
  if (text == stored) return stored;
  const auto t = datetime::parseTime(text);  // no bare digits: "1805" is not taken for a time here
  if (!t) return std::nullopt;
  return datetime::formatTime(*t);
}

bool mode(const QString& text, const QString& stored) {
  return text == stored || text == QLatin1String("DIG") || text == QLatin1String("CW") || text == QLatin1String("PH");
}

bool section(const ProgramState&, const QString& text, const QString& stored) {
  return text == stored || isValidSection(text);
}

Dupes dupes(const QsoLog& log, int recNo, const QString& call, const QString& band, const QString& mode) {
  auto same = [&](int i) {
    const QsoRecord& r = log.rec(i);
    return r.Call == call && r.Band == band && r.Mode == mode;
  };
  Dupes d;
  for (int i = 1; i < recNo && i <= log.count(); ++i)
    if (same(i)) { d.before = i; break; }
  for (int i = recNo + 1; i <= log.count(); ++i)
    if (same(i)) { d.after = i; break; }
  return d;
}

}  // namespace editcheck

}  // namespace fd
