#pragma once
// The summary sheet: the log counted per band and mode, the scoring and the
// 102 lines of the ".sum" file. No window here; Form2 fills SummaryForm from
// its boxes and hands it over.
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "log/qsolog.h"
#include "output/station.h"
#include "output/textwriter.h"

namespace fd {

// What Form2's boxes hold, under the boxes' names.
struct SummaryForm {
  QString Text2;   // class B operators
  QString Text3;   // participants
  QString Text4;   // messages relayed
  QString Text5, Text6, Text7, Text8;  // name, address lines, e-mail
  QString Text9;   // GOTA station call
  QString Text10;  // club
  QString Text11 = QStringLiteral("0"), Text12 = QStringLiteral("0"), Text13 = QStringLiteral("0");  // GOTA CW, DIG, PH
  QString Text14;  // non-traditional modes
  QString Text15;  // other power source
  QString Text16;  // total bonus points
  QString Text17;  // GOTA operators
  QString Text18;  // youth participants
  bool Check2 = false, Check3 = false, Check4 = false, Check5 = false;  // generator, battery, mains, other
  bool Check6 = false, Check7 = false, Check8 = false, Check9 = false, Check10 = false, Check11 = false;
  bool Check12 = false, Check13 = false, Check14 = false, Check15 = false, Check16 = false, Check17 = false;
  enum class Power { Qrp, Low, High };  // Option9, Option10, Option1
  Power power = Power::Low;
};

// BandModeCount: records per band (kBands order) and mode (kModes order),
// band and mode matched exactly; other designators count nowhere.
using BandModeCounts = std::array<std::array<std::int32_t, 3>, 13>;
BandModeCounts countBandModes(const QsoLog& log);

// Non-empty and digits only.
bool isNumericText(const QString& t);

struct SummaryScore {
  std::int64_t cw = 0, dig = 0, ph = 0;  // totals, GOTA boxes included
  std::int64_t points = 0;
  int multiplier = 2;
  QString powerText;                     // "5", "150", "150 +"
  std::int64_t claimed = 0;
  std::int64_t gotaSum = 0;
};
SummaryScore scoreSummary(const SummaryForm& f, const BandModeCounts& counts);

// The file's 102 lines.
TextWriter summaryText(const SummaryForm& f, const BandModeCounts& counts, const Station& st, const QDate& today);
// The same, as lines without their ends.
QStringList summaryLines(const SummaryForm& f, const BandModeCounts& counts, const Station& st, const QDate& today);

}  // namespace fd
