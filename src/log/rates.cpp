#include "log/rates.h"

#include "log/datetime.h"

namespace fd::rates {

Counts count(const QsoLog& log, const QDateTime& utcNow) {
  Counts c;
  for (int i = log.count(); i >= 1; --i) {
    const QsoRecord& r = log.rec(i);
    const auto stamp = datetime::recordDateTime(r.Date, r.Time);
    if (!stamp) continue;  // a record brought in from elsewhere; the rest still count
    const qint64 age = stamp->secsTo(utcNow);
    if (age < 1200) ++c.twenty;
    if (age >= 3600) break;
    ++c.hour;
  }
  return c;
}

}  // namespace fd::rates
