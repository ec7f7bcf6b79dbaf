// What one keystroke in the call field costs (the partial-call list, the
// duplicate check on leaving the field) and what one saved contact costs,
// on a full log (14000 records) and on an empty one.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

#include "benchapp.h"

#include "log/form1.h"
#include "log/logfile.h"
#include "testenv.h"

namespace {

// The main window on a log of `records` contacts, none of them with the calls
// typed below and all older than the hour the rates look at.
struct Window {
  explicit Window(int records) {
    fd::test::ensureApplication();
    state.ProgDir = dir.path();
    fd::fillSectionTable(state);
    state.OpInitials = "AB";
    QByteArray file;
    for (int i = 1; i <= records; ++i) {
      const fd::QsoRecord r{QStringLiteral("K%1ABC").arg(i), "2A", "CT", "2024/06/22", "16:05:00", "40", "PH", "AB", ""};
      file += fd::logfile::formatLine(r);
    }
    QFile f(state.progFile(QStringLiteral("fdlog.dat")));
    f.open(QIODevice::WriteOnly);
    f.write(file);
    f.close();
    form = std::make_unique<fd::Form1>(state, sv);
    form->book.mnuopen2();
  }
  fd::test::FakePlatform fake;
  QTemporaryDir dir;
  fd::ProgramState state;
  fd::Services sv;
  std::unique_ptr<fd::Form1> form;
};

// A partial call that matches nothing: the scan reads the whole log.
void BM_PartialCheck(benchmark::State& st) {
  Window w(static_cast<int>(st.range(0)));
  w.form->txtCall->setText("W9Z");
  for (auto _ : st) {
    int key = 'Z';
    w.form->PartialCheck(key);
    benchmark::DoNotOptimize(key);
  }
}
BENCHMARK(BM_PartialCheck)->Arg(0)->Arg(14000)->Unit(benchmark::kMicrosecond);

// The same scan as the live program pays it: typing comes seconds apart, so
// the records (one string each, as the loader made them) are no longer in the
// processor's caches. A buffer larger than the caches is written between rounds.
void BM_PartialCheckColdCache(benchmark::State& st) {
  Window w(static_cast<int>(st.range(0)));
  w.form->txtCall->setText("W9Z");
  std::vector<char> flush(64 << 20);
  char fill = 0;
  for (auto _ : st) {
    st.PauseTiming();
    for (size_t i = 0; i < flush.size(); i += 64) flush[i] = ++fill;
    benchmark::DoNotOptimize(flush.data());
    st.ResumeTiming();
    int key = 'Z';
    w.form->PartialCheck(key);
    benchmark::DoNotOptimize(key);
  }
}
BENCHMARK(BM_PartialCheckColdCache)->Arg(0)->Arg(14000)->Unit(benchmark::kMicrosecond);

// A call not in the log: the duplicate check reads the whole log.
void BM_DupCheck(benchmark::State& st) {
  Window w(static_cast<int>(st.range(0)));
  w.form->txtCall->setText("W9ZZZ");
  for (auto _ : st) {
    w.form->dupcheck();
    benchmark::DoNotOptimize(w.state.DupeFlag);
  }
}
BENCHMARK(BM_DupCheck)->Arg(0)->Arg(14000)->Unit(benchmark::kMicrosecond);

// One saved contact (file append included) with a radio's frequency on the
// current band; the record is taken back between runs so the log keeps its size.
void BM_Mains(benchmark::State& st) {
  const int records = static_cast<int>(st.range(0));
  Window w(records);
  for (auto _ : st) {
    st.PauseTiming();
    if (w.state.QsoCount() > records) w.state.Log.removeLast();
    w.form->txtCall->setText("W9ZZZ");
    w.form->txtCK->setText("2A");
    w.form->txtSec->setText("CT");
    w.state.CurFreq = QStringLiteral("7.185");
    st.ResumeTiming();
    w.form->Mains();
  }
  st.counters["saved"] = w.state.QsoCount() > records ? 1 : 0;
}
BENCHMARK(BM_Mains)->Arg(0)->Arg(13999)->Unit(benchmark::kMicrosecond);

}  // namespace
