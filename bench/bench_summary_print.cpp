// The summary window's opening (it counts the log), the summary file, the
// ASCII files, the page models and their drawing into a PDF, on a
// 14000-record log against an empty or 100-record one.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "output/asciilog.h"
#include "output/form2.h"
#include "output/printpages.h"
#include "output/summary.h"
#include "platform/printer.h"
#include "platform/registry.h"

namespace {

using fd::QsoLog;
using fd::QsoRecord;

void needApplication() {
  if (qApp) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fieldday_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives for the whole run
}

QsoLog sampleLog(int n, bool oneGroup = false) {
  QsoLog log;
  for (int i = 1; i <= n; ++i)
    log.append(QsoRecord{QStringLiteral("K%1X%2").arg(i % 10).arg(i), "2A", "CT", "2024/06/22", "18:05:00",
                         oneGroup ? QStringLiteral("20") : fd::kBands[i % 13], oneGroup ? QStringLiteral("CW") : fd::kModes[i % 3],
                         "AB", ""});
  return log;
}

const fd::Station kStation{"W1AW", "2A", "CT"};

void perRecord(benchmark::State& st) {
  st.counters["per_record"] = benchmark::Counter(static_cast<double>(std::max<int64_t>(1, st.range(0))),
                                                 benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SummaryWindowOpen(benchmark::State& st) {
  needApplication();
  fd::setRegistry(std::make_unique<fd::MemoryRegistry>());
  fd::ProgramState s;
  s.Log = sampleLog(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    fd::Form2 f(s);
    benchmark::DoNotOptimize(f.BandModeCount[0][0]);
  }
}
BENCHMARK(BM_SummaryWindowOpen)->Arg(0)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_SummaryFile(benchmark::State& st) {
  QTemporaryDir dir;
  const QsoLog log = sampleLog(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    const auto counts = fd::countBandModes(log);
    benchmark::DoNotOptimize(fd::summaryText(fd::SummaryForm{}, counts, kStation, QDate(2024, 6, 23)).writeTo(dir.path() + "/x.sum").ok);
  }
}
BENCHMARK(BM_SummaryFile)->Arg(0)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_AsciiLogFile(benchmark::State& st) {
  QTemporaryDir dir;
  const QsoLog log = sampleLog(static_cast<int>(st.range(0)));
  for (auto _ : st) benchmark::DoNotOptimize(fd::asciiLogText(log, kStation).writeTo(dir.path() + "/l.txt").ok);
  perRecord(st);
}
BENCHMARK(BM_AsciiLogFile)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_AsciiDupeFile(benchmark::State& st) {
  QTemporaryDir dir;
  const QsoLog log = sampleLog(static_cast<int>(st.range(0)), st.range(1) != 0);
  for (auto _ : st) benchmark::DoNotOptimize(fd::asciiDupeText(log, kStation).writeTo(dir.path() + "/d.txt").ok);
  perRecord(st);
}
BENCHMARK(BM_AsciiDupeFile)->Args({100, 0})->Args({14000, 0})->Args({14000, 1})->Unit(benchmark::kMillisecond);

void BM_PrintedLogPages(benchmark::State& st) {
  const QsoLog log = sampleLog(static_cast<int>(st.range(0)));
  for (auto _ : st) benchmark::DoNotOptimize(fd::printedLogPages(log, kStation).size());
  perRecord(st);
}
BENCHMARK(BM_PrintedLogPages)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_PrintedDupePages(benchmark::State& st) {
  const QsoLog log = sampleLog(static_cast<int>(st.range(0)));
  for (auto _ : st) benchmark::DoNotOptimize(fd::printedDupePages(log, kStation).size());
  perRecord(st);
}
BENCHMARK(BM_PrintedDupePages)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

// Drawing the pages into a PDF; "pages" counts the sheets per second.
void BM_PdfRender(benchmark::State& st) {
  needApplication();
  QTemporaryDir dir;
  const QsoLog log = sampleLog(14000);
  const fd::PrintPages pages = st.range(0) ? fd::printedDupePages(log, kStation) : fd::printedLogPages(log, kStation);
  for (auto _ : st) {
    auto printer = fd::QtPagePrinter::toPdf(dir.path() + "/p.pdf");
    benchmark::DoNotOptimize(fd::printPages(*printer, pages).ok);
  }
  st.counters["pages"] = benchmark::Counter(static_cast<double>(pages.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PdfRender)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
