#pragma once
// The append and restore: another log's records (a data file in fdlog.dat's
// layout, or ADIF) merged into the log in date and time order, optionally
// without duplicates, all or nothing.
#include <QByteArray>
#include <vector>

#include "log/qsolog.h"

namespace fd::combine {

struct DataFile {
  std::vector<QsoRecord> records;
  int leftOut = 0;  // non-empty lines that are not contacts
};
DataFile readDataFile(const QByteArray& bytes);

// The incoming records that are not duplicates (same call, band and mode,
// without regard to case) of the log or of records taken before them.
std::vector<QsoRecord> dropDuplicates(const std::vector<QsoRecord>& log, const std::vector<QsoRecord>& incoming);

// The log with the incoming records put in, as inserting them one by one
// before the first record whose date-and-time key is greater would: a new
// record's place among the old ones is where the running maximum of the old
// keys first exceeds its key; new records in one gap stand in key order,
// equal keys in file order.
std::vector<QsoRecord> merge(const std::vector<QsoRecord>& log, const std::vector<QsoRecord>& incoming);

}  // namespace fd::combine
