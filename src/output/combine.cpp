#include "output/combine.h"

#include <QSet>
#include <algorithm>

#include "log/logfile.h"

namespace fd::combine {

namespace {
QString dupeKey(const QsoRecord& r) { return r.Call.toUpper() + u'\t' + r.Band.toUpper() + u'\t' + r.Mode.toUpper(); }
QString orderKey(const QsoRecord& r) { return (r.Date + r.Time).toCaseFolded(); }
}  // namespace

DataFile readDataFile(const QByteArray& bytes) {
  DataFile out;
  for (QByteArray line : bytes.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    if (line.trimmed().isEmpty()) continue;
    if (auto r = logfile::parseLine(line)) {
      // A lone CR inside a field cannot stand in fdlog.dat: the contact is
      // taken as the log file will hold it, so memory, file and the
      // duplicate rule agree.
      logfile::cleanRecord(*r);
      out.records.push_back(*r);
    } else {
      ++out.leftOut;
    }
  }
  return out;
}

std::vector<QsoRecord> dropDuplicates(const std::vector<QsoRecord>& log, const std::vector<QsoRecord>& incoming) {
  QSet<QString> seen;
  seen.reserve(static_cast<qsizetype>(log.size() + incoming.size()));
  for (const QsoRecord& r : log) seen.insert(dupeKey(r));
  std::vector<QsoRecord> out;
  for (const QsoRecord& r : incoming) {
    const QString k = dupeKey(r);
    if (seen.contains(k)) continue;
    seen.insert(k);
    out.push_back(r);
  }
  return out;
}

std::vector<QsoRecord> merge(const std::vector<QsoRecord>& log, const std::vector<QsoRecord>& incoming) {
  std::vector<QString> runningMax;
  runningMax.reserve(log.size());
  for (const QsoRecord& r : log) {
    QString k = orderKey(r);
    if (!runningMax.empty() && runningMax.back() > k) k = runningMax.back();
    runningMax.push_back(std::move(k));
  }
  struct Placed {
    size_t gap;  // index of the old record it goes before
    QString key;
    size_t index;
  };
  std::vector<Placed> placed;
  placed.reserve(incoming.size());
  for (size_t i = 0; i < incoming.size(); ++i) {
    QString k = orderKey(incoming[i]);
    const auto it = std::upper_bound(runningMax.begin(), runningMax.end(), k);
    placed.push_back({static_cast<size_t>(it - runningMax.begin()), std::move(k), i});
  }
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    return a.gap != b.gap ? a.gap < b.gap : a.key < b.key;
  });
  std::vector<QsoRecord> out;
  out.reserve(log.size() + incoming.size());
  size_t p = 0;
  for (size_t old = 0; old <= log.size(); ++old) {
    for (; p < placed.size() && placed[p].gap == old; ++p) out.push_back(incoming[placed[p].index]);
    if (old < log.size()) out.push_back(log[old]);
  }
  return out;
}

}  // namespace fd::combine
