#pragma once
// Contacts by band group and by operator, as the statistics window shows them.
#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "log/qsolog.h"

namespace fd {

struct BandStats {
  // Groups in the window's row order: 160, 80, 40, 20, 15, 10, V/Uhf.
  static constexpr int kGroups = 7;
  static const std::array<QString, kGroups> kGroupNames;
  std::array<int, kGroups> count{};
  std::array<int, kGroups> percent{};
  int total = 0;
  // Operators by exact initials (case counts, empty initials are an operator
  // of their own), busiest first.
  std::vector<std::pair<QString, int>> operators;
};

// The band group of a band text: 0..5 for the six HF bands, exactly as
// written; every other text, "6" to "SAT" or anything imported, is V/Uhf (6).
int bandGroup(const QString& band);

// Percentages are count x 100 / total in whole numbers, so 29 of 100 reads 29
// (a double quotient times 100 would cut 28.999... to 28).
BandStats computeBandStats(const QsoLog& log);

}  // namespace fd
