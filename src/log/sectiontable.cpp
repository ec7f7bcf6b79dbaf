#include "log/sectiontable.h"

#include <QHash>

namespace fd {

const std::array<SectionRow, kSecTotal> kSectionRows = {{
    {"CT", "Connecticut"}, {"EMA", "East Massachusetts"}, {"ME", "Maine"}, {"NH", "New Hampshire"},
    {"RI", "Rhode Island"}, {"VT", "Vermont"}, {"WMA", "West Massachusetts"}, {"NNY", "North New York"},
    {"ENY", "East New York"}, {"NLI", "NY Long Island"}, {"NNJ", "North New Jersey"},
    {"SNJ", "South New Jersey"}, {"WNY", "West New York"}, {"DE", "Delaware"},
    {"EPA", "East Pennsylvania"}, {"MDC", "Maryland-DC"}, {"WPA", "West Pennsylvania"},
    {"AL", "Alabama"}, {"GA", "Georgia"}, {"KY", "Kentucky"}, {"NC", "North Carolina"},
    {"NFL", "North Florida"}, {"SC", "South Carolina"}, {"SFL", "South Florida"}, {"TN", "Tennessee"},
    {"VA", "Virginia"}, {"PR", "Puerto Rico"}, {"VI", "Virgin Islands"}, {"AR", "Arkansas"},
    {"LA", "Louisiana"}, {"MS", "Mississippi"}, {"NM", "New Mexico"}, {"NTX", "North Texas"},
    {"OK", "Oklahoma"}, {"STX", "South Texas"}, {"WTX", "West Texas"}, {"EB", "East Bay"},
    {"LAX", "Los Angeles"}, {"ORG", "Orange"}, {"SB", "Santa Barbara"}, {"SCV", "Santa Clara Valley"},
    {"SDG", "San Diego"}, {"SF", "San Francisco"}, {"SJV", "San Joaquin Valley"},
    {"SV", "Sacramento Valley"}, {"PAC", "Pacific"}, {"AZ", "Arizona"}, {"EWA", "East Washington"},
    {"ID", "Idaho"}, {"MT", "Montana"}, {"NV", "Nevada"}, {"OR", "Oregon"}, {"UT", "Utah"},
    {"WWA", "West Washington"}, {"WY", "Wyoming"}, {"AK", "Alaska"}, {"MI", "Michigan"},
    {"OH", "Ohio"}, {"WV", "West Virginia"}, {"IL", "Illinois"}, {"IN", "Indiana"},
    {"WI", "Wisconsin"}, {"CO", "Colorado"}, {"IA", "Iowa"}, {"KS", "Kansas"}, {"MN", "Minnesota"},
    {"MO", "Missouri"}, {"NE", "Nebraska"}, {"ND", "North Dakota"}, {"SD", "South Dakota"},
    {"NL", "Newfoundland-Labrador"}, {"MAR", "Maritime"}, {"QC", "Quebec"}, {"ONN", "Ontario North"},
    {"MB", "Manitoba"}, {"SK", "Saskatchewan"}, {"AB", "Alberta"}, {"BC", "British Columbia"},
    {"NT", "Northern Territories"}, {"WCF", "West Central Florida"}, {"ONS", "Ontario South"},
    {"ONE", "Ontario East"}, {"GTA", "Greater Toronto Area"},
}};

// One lookup per loaded record: a hash, not a walk through 83 names.
int sectionRow(const QString& name) {
  static const QHash<QString, int> rows = [] {
    QHash<QString, int> h;
    h.reserve(kSecTotal);
    for (int i = 0; i < kSecTotal; ++i) h.insert(QString::fromLatin1(kSectionRows[static_cast<size_t>(i)].name), i + 1);
    return h;
  }();
  return rows.value(name, 0);
}

bool isValidSection(const QString& name) { return name == QLatin1String("DX") || sectionRow(name) > 0; }

}  // namespace fd
