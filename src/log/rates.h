#pragma once
// Contact rates: contacts in the last 60 and the last 20 minutes, counted
// from the newest record back to the first one an hour old.
#include <QDateTime>

#include "log/qsolog.h"

namespace fd::rates {

struct Counts {
  int hour = 0;     // records less than 3600 s old (future stamps included)
  int twenty = 0;   // records less than 1200 s old
};

// utcNow is the current UTC reading as a plain date-time. The scan goes by
// record number and ends at the first record an hour old or older; a record
// whose date or time cannot be read is passed over.
Counts count(const QsoLog& log, const QDateTime& utcNow);

}  // namespace fd::rates
