#include "output/bandstats.h"

#include <QHash>
#include <algorithm>

namespace fd {

const std::array<QString, BandStats::kGroups> BandStats::kGroupNames = {
    QStringLiteral("160"), QStringLiteral("80"), QStringLiteral("40"), QStringLiteral("20"),
    QStringLiteral("15"),  QStringLiteral("10"), QStringLiteral("V/Uhf")};

int bandGroup(const QString& band) {
  for (int g = 0; g < 6; ++g)
    if (band == BandStats::kGroupNames[static_cast<size_t>(g)]) return g;
  return 6;
}

BandStats computeBandStats(const QsoLog& log) {
  BandStats st;
  st.total = log.count();
  QHash<QString, size_t> row;  // initials -> index in operators
  for (const QsoRecord& r : log.records()) {
    ++st.count[static_cast<size_t>(bandGroup(r.Band))];
    auto it = row.constFind(r.Initials);
    if (it == row.constEnd()) {
      row.insert(r.Initials, st.operators.size());
      st.operators.emplace_back(r.Initials, 1);
    } else {
      ++st.operators[*it].second;
    }
  }
  if (st.total > 0)
    for (int g = 0; g < BandStats::kGroups; ++g)
      st.percent[static_cast<size_t>(g)] =
          static_cast<int>(static_cast<long long>(st.count[static_cast<size_t>(g)]) * 100 / st.total);
  std::stable_sort(st.operators.begin(), st.operators.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  return st;
}

}  // namespace fd
