#pragma once
// What the main window shows when the pointer rests on a section of the grid:
// the section's full name and its logged contacts by band and by mode,
// counted afresh from the log on every move (no counts are kept between).
#include <QString>

#include "log/qsolog.h"

namespace fd {

struct SectionCounts {
  // "160", "80", "40", "20", "15", "10", then every other band text.
  int band160 = 0, band80 = 0, band40 = 0, band20 = 0, band15 = 0, band10 = 0, vhfUhf = 0;
  int cw = 0, dig = 0, ph = 0;
  // Every record of the section, whatever its mode.
  int total() const { return band160 + band80 + band40 + band20 + band15 + band10 + vhfUhf; }
};

// Records 1..count() whose section equals `section` exactly (case counts).
SectionCounts countSection(const QsoLog& log, const QString& section);

// The three lines of the hover box, joined by CR LF.
QString sectionHoverText(const QString& fullName, const SectionCounts& c);

// The hover box's font: 8 points on a 9600-twip-wide screen at 100 %.
double sectionHoverFontPoints(double screenWidthTwips, int formSizePct);

}  // namespace fd
