// Statistics, the rate graph (computation and painting) and the section map:
// a full log (14000 records) against a small one (100), the graph's worst
// case (every contact within ten minutes), a map tick with every section
// worked against one, and the map generator.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include "benchapp.h"

#include "output/bandstats.h"
#include "output/graphqso.h"
#include "output/sectionmap.h"

#include "mapgen/mapgen.h"

namespace {

// `records` contacts spread evenly over `spanSecs` seconds from 2024/06/22 18:00.
fd::QsoLog makeLog(int records, long long spanSecs) {
  static const char* const bands[] = {"160", "80", "40", "20", "15", "10", "6", "SAT"};
  static const char* const ops[] = {"AB", "CD", "EF", "gh"};
  fd::QsoLog log;
  const QDateTime start(QDate(2024, 6, 22), QTime(18, 0), Qt::UTC);
  for (int i = 0; i < records; ++i) {
    const QDateTime t = start.addSecs(spanSecs * i / records);
    log.append({QStringLiteral("K%1ABC").arg(i), QStringLiteral("2A"), QStringLiteral("CT"),
                t.toString(QStringLiteral("yyyy/MM/dd")), t.toString(QStringLiteral("HH:mm:ss")),
                QString::fromLatin1(bands[i % 8]), QStringLiteral("PH"), QString::fromLatin1(ops[i % 4]), QString()});
  }
  return log;
}

void BM_Stats(benchmark::State& st) {
  const fd::QsoLog log = makeLog(static_cast<int>(st.range(0)), 86400);
  for (auto _ : st) benchmark::DoNotOptimize(fd::computeBandStats(log));
}
BENCHMARK(BM_Stats)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

// range(1): the span in seconds; 599 puts every contact inside one ten-minute window.
void BM_GraphCompute(benchmark::State& st) {
  const fd::QsoLog log = makeLog(static_cast<int>(st.range(0)), st.range(1));
  for (auto _ : st) benchmark::DoNotOptimize(fd::computeRateGraph(log, qRgb(0, 0, 0)));
}
BENCHMARK(BM_GraphCompute)->Args({100, 86400})->Args({14000, 86400})->Args({14000, 599})->Unit(benchmark::kMillisecond);

void BM_GraphComputeAndPaint(benchmark::State& st) {
  fd::test::ensureApplication();
  const fd::QsoLog log = makeLog(static_cast<int>(st.range(0)), 86400);
  QPixmap surface(789, 569);  // the window on an 800 x 600 work area
  const fd::RateFrame frame{32, 616, 8, 392, 393, 400, 0.7};
  for (auto _ : st) {
    surface.fill(Qt::black);
    const fd::RateGraph g = fd::computeRateGraph(log, qRgb(0, 0, 0));
    QPainter p(&surface);
    fd::paintRateGraph(p, g, frame);
  }
}
BENCHMARK(BM_GraphComputeAndPaint)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_MapTick(benchmark::State& st) {
  fd::ProgramState s;
  fd::fillSectionTable(s);
  for (int j = 1; j <= st.range(0); ++j) s.SecWorked[static_cast<size_t>(j)] = 1;
  QImage img = fd::loadSectionMapPicture();
  unsigned n = 1;
  const fd::RandomSource random = [&n] {
    n = n * 1103515245u + 12345u;
    return (n >> 8) / 16777216.0;
  };
  for (auto _ : st) fd::paintWorkedSections(img, s, random);
}
BENCHMARK(BM_MapTick)->Arg(1)->Arg(83)->Unit(benchmark::kMillisecond);

// The generator from the boundary data (it runs gmt four times), as the
// picture's test runs it once.
void BM_MapGenerate(benchmark::State& st) {
  for (auto _ : st) benchmark::DoNotOptimize(fd::mapgen::build());
}
BENCHMARK(BM_MapGenerate)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
