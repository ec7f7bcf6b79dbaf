#pragma once
// The ASCII log and the dupe-sheet file: their lines (no line ends).
#include <QStringList>

#include "log/qsolog.h"
#include "output/station.h"

namespace fd {

// "     Call Used: W1AW  Class: 2A", "ARRL Section: CT" at column 52, then an empty line.
QStringList asciiHeader(const Station& st);
// Header, then one line per record: band 1, mode 6, date 12, time 24, call 34, class 45, section 52.
QStringList asciiLogLines(const QsoLog& log, const Station& st);
// Header, then the groups of all thirteen bands.
QStringList asciiDupeLines(const QsoLog& log, const Station& st);

}  // namespace fd
