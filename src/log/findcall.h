#pragma once
// Finding a call in the log, and the cells of a recent-contacts row, which
// every filler of that list shares.
#include <QStringList>
#include <vector>

#include "log/qsolog.h"

namespace fd {

namespace findcall {

// Record numbers whose call equals the text (partial: contains it, case-
// sensitive), newest first; none for an empty text.
std::vector<int> matches(const QsoLog& log, const QString& text, bool partial);

}  // namespace findcall

// The nine cells of a list row: record number, call, class, section, date
// "M/DD", time "h:mm", band, mode and, unless left out, the operator.
QStringList listRowTexts(const QsoLog& log, int recNo, bool withOperator = true);

}  // namespace fd
