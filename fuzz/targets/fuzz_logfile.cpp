// fdlog.dat: every non-empty line is a record or a kept line, and writing the
// log back and reading it again changes nothing.
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "log/logfile.h"

using namespace fd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = fuzz::writeScratch("fdlog.dat", bytes);
  const logfile::LoadResult first = logfile::load(path);
  fuzz::check(first.opened, "the file opens");

  qsizetype lines = 0;
  for (QByteArray line : bytes.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    if (!line.isEmpty()) ++lines;
  }
  fuzz::check(static_cast<qsizetype>(first.records.size()) + first.kept.size() == lines,
              "records and kept lines account for every non-empty line");
  fuzz::check(first.unreadable + first.overLimit == first.kept.size(), "every kept line is counted once");

  fuzz::check(logfile::rewrite(path, first.records, first.kept).ok, "the rewrite succeeds");
  const logfile::LoadResult second = logfile::load(path);
  fuzz::check(second.records.size() == first.records.size(), "a rewrite keeps the number of records");
  for (size_t i = 0; i < first.records.size(); ++i)
    fuzz::check(logfile::formatLine(second.records[i]) == logfile::formatLine(first.records[i]),
                "a rewrite keeps every record");
  fuzz::check(second.kept == first.kept, "a rewrite keeps every kept line");
  return 0;
}
