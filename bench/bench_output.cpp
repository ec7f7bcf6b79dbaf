// The exports and (later) the backups and the append, on a 14000-record log
// against a 100-record one: per-record time shows whether anything grows
// faster than the log.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "core/title.h"
#include "output/adif.h"
#include "output/tolva.h"
#include "platform/safefile.h"

namespace {

using fd::QsoRecord;

std::vector<QsoRecord> sampleLog(int n) {
  static const char* const sections[] = {"CT", "ENY", "MDC", "GTA", "DX", "WCF", "SV", "PAC"};
  static const char* const modes[] = {"CW", "PH", "DIG"};
  static const char* const bands[] = {"20", "40", "70", "SAT", "1.25"};
  std::vector<QsoRecord> log;
  log.reserve(static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i)
    log.push_back(QsoRecord{QStringLiteral("K%1ABC").arg(i), QStringLiteral("2A"), QString::fromLatin1(sections[i % 8]),
                            QStringLiteral("2024/06/22"), QStringLiteral("18:05:00"),
                            QString::fromLatin1(bands[i % 5]), QString::fromLatin1(modes[i % 3]),
                            QStringLiteral("AB"), QStringLiteral("14.025")});
  return log;
}

// Seconds per record (shown with its prefix: "7.4u" is 7.4 microseconds).
void perRecord(benchmark::State& st) {
  st.counters["per_record"] = benchmark::Counter(static_cast<double>(st.range(0)),
                                                 benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Formats the file and writes it (fsynced), as the command does.
void BM_AdifExport(benchmark::State& st) {
  const auto log = sampleLog(static_cast<int>(st.range(0)));
  QTemporaryDir dir;
  const fd::adif::ExportTexts texts{"100", "ARRL Field Day Contest", "PH"};
  for (auto _ : st) {
    const QByteArray bytes = fd::adif::exportFile(log, texts, fd::kProgramTitle, QDate(2024, 6, 23));
    benchmark::DoNotOptimize(fd::writeWholeFile(dir.path() + "/x.adi", bytes).ok);
  }
  perRecord(st);
}
BENCHMARK(BM_AdifExport)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_TolvaExport(benchmark::State& st) {
  const auto log = sampleLog(static_cast<int>(st.range(0)));
  QTemporaryDir dir;
  for (auto _ : st)
    benchmark::DoNotOptimize(fd::writeWholeFile(dir.path() + "/LogExp.txt", fd::tolva::exportFile(log)).ok);
  perRecord(st);
}
BENCHMARK(BM_TolvaExport)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

}  // namespace
