// Loading fdlog.dat and appending one contact, with a full log (14000
// records) and with an empty one.
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "log/logbook.h"
#include "log/logfile.h"
#include "platform/safefile.h"
#include "testenv.h"

namespace {

using fd::QsoRecord;

QsoRecord sample(int i) {
  static const char* const sections[] = {"CT", "ENY", "MDC", "GTA", "DX", "WCF", "SV"};
  static const char* const modes[] = {"CW", "PH", "DIG"};
  return QsoRecord{QStringLiteral("K%1ABC").arg(i), QStringLiteral("2A"), QString::fromLatin1(sections[i % 7]),
                   QStringLiteral("2024/06/22"), QStringLiteral("18:05:00"), QStringLiteral("20"),
                   QString::fromLatin1(modes[i % 3]), QStringLiteral("AB"), QStringLiteral("14.025")};
}

// A program folder holding fdlog.dat with `records` contacts.
struct Folder {
  explicit Folder(int records) {
    state.ProgDir = dir.path();
    fd::fillSectionTable(state);
    QByteArray file;
    for (int i = 1; i <= records; ++i) file += fd::logfile::formatLine(sample(i));
    QFile f(state.progFile(QStringLiteral("fdlog.dat")));
    f.open(QIODevice::WriteOnly);
    f.write(file);
  }
  fd::test::FakePlatform fake;
  QTemporaryDir dir;
  fd::ProgramState state;
  fd::LogView view;  // does nothing: the measure is the file and the counting
  fd::LogBook book{state, &view};
};

void BM_Load(benchmark::State& st) {
  Folder folder(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    folder.book.mnuopen2();
    benchmark::DoNotOptimize(folder.state.CWCount);
  }
  st.counters["records"] = folder.state.QsoCount();
}
BENCHMARK(BM_Load)->Arg(0)->Arg(14000)->Unit(benchmark::kMillisecond);

// The floor for BM_Load: the same bytes read and split into lines and quoted
// items (their bounds found, nothing made of them). The load should stay
// within five times this.
void BM_LoadFloor(benchmark::State& st) {
  Folder folder(static_cast<int>(st.range(0)));
  const QString path = folder.book.path();
  for (auto _ : st) {
    QByteArray data;
    fd::readWholeFile(path, data);
    qsizetype items = 0, start = 0;
    const qsizetype n = data.size();
    while (start < n) {
      qsizetype end = data.indexOf('\n', start);
      if (end < 0) end = n;
      for (qsizetype i = start; i < end;) {
        if (data[i] == '"') {
          const qsizetype close = data.indexOf('"', i + 1);
          if (close < 0 || close > end) break;
          ++items;
          i = close + 1;
        } else {
          ++i;
        }
      }
      start = end + 1;
    }
    benchmark::DoNotOptimize(items);
  }
}
BENCHMARK(BM_LoadFloor)->Arg(0)->Arg(14000)->Unit(benchmark::kMillisecond);

// One contact appended (line written, flushed and synced), then taken back
// outside the timing so every round appends to the same log.
void BM_AppendOne(benchmark::State& st) {
  const int records = static_cast<int>(st.range(0));
  Folder folder(records);
  folder.book.mnuopen2();
  const QString path = folder.book.path();
  const qint64 size = QFile(path).size();
  const QsoRecord r = sample(records + 1);
  for (auto _ : st) {
    if (!folder.book.appendRecord(r).ok) st.SkipWithError("append failed");
    st.PauseTiming();
    folder.state.Log.removeLast();
    QFile::resize(path, size);
    st.ResumeTiming();
  }
  st.counters["records"] = records;
}
BENCHMARK(BM_AppendOne)->Arg(0)->Arg(13999)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
