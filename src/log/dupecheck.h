#pragma once
// The duplicate rule and the partial-call list, free of any window. A contact
// is a duplicate when the log holds its call (exactly, case and all) on the
// current band and mode.
#include <QList>
#include <QString>

#include "log/qsolog.h"

namespace fd::dupecheck {

struct Scan {
  QList<int> matches;   // records with the call, oldest first, up to and including the duplicate
  int duplicate = 0;    // record number of the first one on the band and mode, 0 when none
  QString fillClass;    // what an empty class field takes: the earliest non-empty class met
  QString fillSection;  // likewise for the section
};

// Scans from the oldest record and stops at the first duplicate.
Scan scan(const QsoLog& log, const QString& call, const QString& band, const QString& mode);

// "Dupe: W1AW 2A ENY 2024/06/22 18:05:00 ON 20 CW  Rec# 57"
QString message(const QsoRecord& r, int recNo);

// Calls on the band and mode that begin with the partial call, newest first,
// each followed by two blanks. The scan stops once the text passes this many
// characters, so it costs little on a full log.
inline constexpr int kPartialCut = 120;
QString partialList(const QsoLog& log, const QString& partial, const QString& band, const QString& mode);

// Keys that build a partial list: "." up to "Z" in code order.
inline bool buildsPartialList(int keyAscii) { return keyAscii > 45 && keyAscii < 91; }

// The form of a call at its third character: the second or third is a digit or "/".
bool callFormOk(const QString& partial);

}  // namespace fd::dupecheck
