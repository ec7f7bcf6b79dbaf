#pragma once
// The ASCII log and the dupe-sheet file.
#include <QStringList>

#include "log/qsolog.h"
#include "output/station.h"
#include "output/textwriter.h"

namespace fd {

// "     Call Used: W1AW  Class: 2A", "ARRL Section: CT" at column 52, then an empty line.
void asciiHeader(TextWriter& w, const Station& st);
// Header, then one line per record: band 1, mode 6, date 12, time 24, call 34, class 45, section 52.
TextWriter asciiLogText(const QsoLog& log, const Station& st);
// Header, then the groups of all thirteen bands.
TextWriter asciiDupeText(const QsoLog& log, const Station& st);

// The same as lines without their ends.
QStringList asciiLogLines(const QsoLog& log, const Station& st);
QStringList asciiDupeLines(const QsoLog& log, const Station& st);

}  // namespace fd
