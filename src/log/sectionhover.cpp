#include "log/sectionhover.h"

namespace fd {
namespace {
// Every count is shown with one blank before it.
QString n(int v) { return u' ' + QString::number(v); }
}  // namespace

SectionCounts countSection(const QsoLog& log, const QString& section) {
  SectionCounts c;
  for (const QsoRecord& r : log.records()) {
    if (r.Section != section) continue;
    const QString& b = r.Band;
    if (b == QLatin1String("160")) ++c.band160;
    else if (b == QLatin1String("80")) ++c.band80;
    else if (b == QLatin1String("40")) ++c.band40;
    else if (b == QLatin1String("20")) ++c.band20;
    else if (b == QLatin1String("15")) ++c.band15;
    else if (b == QLatin1String("10")) ++c.band10;
    else ++c.vhfUhf;
    if (r.Mode == QLatin1String("PH")) ++c.ph;
    else if (r.Mode == QLatin1String("CW")) ++c.cw;
    else if (r.Mode == QLatin1String("DIG")) ++c.dig;
  }
  return c;
}

QString sectionHoverText(const QString& fullName, const SectionCounts& c) {
  const QString line1 = u' ' + fullName + QStringLiteral("    Total =") + n(c.total());
  const QString line2 = QStringLiteral("  160 =") + n(c.band160) + QStringLiteral("  80 =") + n(c.band80) +
                        QStringLiteral("  40 =") + n(c.band40) + QStringLiteral("  20 =") + n(c.band20) +
                        QStringLiteral("  15 =") + n(c.band15) + QStringLiteral("  10 =") + n(c.band10);
  // The phone count is labelled SSB in this box.
  const QString line3 = QStringLiteral("  VHF/UHF=") + n(c.vhfUhf) + QStringLiteral("  CW=") + n(c.cw) +
                        QStringLiteral("  DIG=") + n(c.dig) + QStringLiteral("  SSB=") + n(c.ph);
  return line1 + QStringLiteral("\r\n") + line2 + QStringLiteral("\r\n") + line3;
}

double sectionHoverFontPoints(double screenWidthTwips, int formSizePct) {
  return screenWidthTwips * 8.0 / 9600.0 * formSizePct / 100.0;
}

}  // namespace fd
