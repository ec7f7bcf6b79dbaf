#pragma once
// The dupe sheet's groups: the worked calls per band and mode, sorted by call
// area, shared by the dupe-sheet file and the printed dupe sheet.
#include <QString>
#include <QStringList>
#include <vector>

#include "log/qsolog.h"

namespace fd {

struct DupeGroup {
  QString band, mode;
  QStringList calls;  // sorted, as written
};

// Bands in the given order, within each the modes "CW", "DIG", "PH"; band
// and mode matched exactly; only groups with contacts. Calls sort by their
// first digit, then the whole call (no digit: before all), by character code.
std::vector<DupeGroup> dupeGroups(const QsoLog& log, const QStringList& bands);

// The sort key: the call's first digit (a blank when it has none), then the call.
QString dupeSortKey(const QString& call);

// The printout leaves satellite contacts out; the file lists them.
const QStringList& printedDupeBands();

}  // namespace fd
