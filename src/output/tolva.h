#pragma once
// LogExp.txt, the file the Tolva program imports: one line per contact,
// sixteen comma-separated items, texts quoted, empty items as nothing:
//   "W1AW","2024/06/22","20","CW",,"18:01:02",,,,"USA","CT",,,,,"ARRL Field Day Contest - Section - CT"
#include <QByteArray>
#include <vector>

#include "log/qsolog.h"

namespace fd::tolva {

QByteArray exportFile(const std::vector<QsoRecord>& records);

}  // namespace fd::tolva
