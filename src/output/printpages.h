#pragma once
// The printed log and printed dupe sheet as pages of text lines. Where a page
// ends is decided here, by the line counters the printouts have always used;
// the printer layer only puts the lines on paper.
#include <QStringList>
#include <vector>

#include "log/qsolog.h"
#include "output/station.h"

namespace fd {

using PrintPages = std::vector<QStringList>;

QStringList printedLogHeading(const Station& st);   // eight lines
QStringList printedDupeHeading(const Station& st);  // seven lines

// Heading, then 44 records a page. An empty log gives no page at all.
PrintPages printedLogPages(const QsoLog& log, const Station& st);
// Twelve bands (no satellite group), every group line from column 15; a
// page ends only before a call line: 47 calls on a group's first page,
// 48 on later ones.
PrintPages printedDupePages(const QsoLog& log, const Station& st);

}  // namespace fd
