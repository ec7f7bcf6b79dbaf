// The append and restore of a data file: each line is a contact or counted as
// left out; the duplicate rule keeps the first of each call, band and mode;
// the merge puts every record in, the log's own in their order, as inserting
// them one by one would.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <QSet>

#include "fuzzsupport.h"
#include "log/logfile.h"
#include "output/combine.h"

using namespace fd;

namespace {

QString dupeKey(const QsoRecord& r) { return r.Call.toUpper() + u'\t' + r.Band.toUpper() + u'\t' + r.Mode.toUpper(); }

std::vector<QsoRecord> oneByOne(std::vector<QsoRecord> log, const std::vector<QsoRecord>& incoming) {
  for (const QsoRecord& r : incoming) {
    const QString key = (r.Date + r.Time).toCaseFolded();
    const auto it = std::find_if(log.begin(), log.end(),
                                 [&](const QsoRecord& o) { return (o.Date + o.Time).toCaseFolded() > key; });
    log.insert(it, r);
  }
  return log;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const combine::DataFile file = combine::readDataFile(bytes);

  int lines = 0;
  for (QByteArray line : bytes.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    if (!line.trimmed().isEmpty()) ++lines;
  }
  fuzz::check(static_cast<int>(file.records.size()) + file.leftOut == lines,
              "contacts and left-out lines account for every line");
  for (const QsoRecord& r : file.records) {
    const auto back = logfile::parseLine(logfile::formatLine(r).chopped(1));
    fuzz::check(back && *back == r, "a contact taken is written to fdlog.dat unchanged");
  }

  // The first byte chooses how many of the records stand for the open log.
  const size_t n = file.records.size();
  const size_t cut = size > 0 ? data[0] % (n + 1) : 0;
  const std::vector<QsoRecord> log(file.records.begin(), file.records.begin() + static_cast<std::ptrdiff_t>(cut));
  const std::vector<QsoRecord> incoming(file.records.begin() + static_cast<std::ptrdiff_t>(cut), file.records.end());

  const std::vector<QsoRecord> kept = combine::dropDuplicates(log, incoming);
  QSet<QString> seen;
  for (const QsoRecord& r : log) seen.insert(dupeKey(r));
  size_t at = 0;
  for (const QsoRecord& r : incoming) {
    const QString k = dupeKey(r);
    const bool take = !seen.contains(k);
    seen.insert(k);
    if (!take) continue;
    fuzz::check(at < kept.size() && kept[at] == r, "the first of each call, band and mode is kept, in file order");
    ++at;
  }
  fuzz::check(at == kept.size(), "nothing else is kept");

  const std::vector<QsoRecord> merged = combine::merge(log, kept);
  fuzz::check(merged.size() == log.size() + kept.size(), "the merge loses and adds nothing");
  if (log.size() <= 64 && kept.size() <= 64)
    fuzz::check(merged == oneByOne(log, kept), "the merge equals the one-by-one insertion");
  return 0;
}
