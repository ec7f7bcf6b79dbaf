// ADIF import: every record taken has a call and fields that a line of
// fdlog.dat holds unchanged; exporting what was read and reading it again is
// stable after one round.
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "log/logfile.h"
#include "output/adif.h"
#include "platform/cp1252.h"

using namespace fd;

namespace {

QList<const QString*> fields(const QsoRecord& r) {
  return {&r.Call, &r.Class, &r.Section, &r.Date, &r.Time, &r.Band, &r.Mode, &r.Initials, &r.Freq};
}

void checkSane(const QsoRecord& r) {
  fuzz::check(!r.Call.isEmpty(), "a record taken has a call");
  for (const QString* f : fields(r))
    for (QChar c : *f)
      fuzz::check(c != u'"' && c.unicode() >= 22, "no field holds a quote or a control character");
  // The append writes the record to fdlog.dat and reloads the log from it.
  const auto back = logfile::parseLine(logfile::formatLine(r).chopped(1));
  fuzz::check(back.has_value(), "a record taken is a line of fdlog.dat");
  const QList<const QString*> a = fields(r), b = fields(*back);
  for (qsizetype i = 0; i < a.size(); ++i)
    fuzz::check(*b[i] == cp1252::decode(cp1252::encode(*a[i])), "fdlog.dat gives every field back");
}

std::vector<QsoRecord> exportAndRead(const std::vector<QsoRecord>& records) {
  const adif::ExportTexts texts{QStringLiteral("100"), QStringLiteral("c"), QStringLiteral("PH")};
  return adif::readRecords(adif::exportFile(records, texts, QStringLiteral("Field Day 1.0"), QDate(2024, 6, 23)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const std::vector<QsoRecord> records = adif::readRecords(bytes);
  fuzz::check(records.size() <= size / 14, "each record takes a call field and an <eor> of its own");
  for (const QsoRecord& r : records) checkSane(r);

  const std::vector<QsoRecord> once = exportAndRead(records);
  fuzz::check(once.size() == records.size(), "the export of what was read reads back whole");
  for (const QsoRecord& r : once) checkSane(r);
  // Stable after one round, but for the export's rule that a contact without
  // a time goes out as 000000 (midnight).
  const std::vector<QsoRecord> twice = exportAndRead(once);
  fuzz::check(twice.size() == once.size(), "the export of an import reads back whole");
  for (size_t i = 0; i < once.size(); ++i) {
    QsoRecord want = once[i];
    if (want.Time.isEmpty()) want.Time = QStringLiteral("00:00:00");
    fuzz::check(twice[i] == want, "export and import are stable after one round");
  }
  return 0;
}
