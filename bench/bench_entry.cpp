// What one keystroke in the call field costs (the partial-call list, the
// duplicate check on leaving the field) and what one saved contact costs,
// on a full log (14000 records) and on an empty one.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "benchapp.h"

#include "log/form1.h"
#include "log/logfile.h"
#include "testenv.h"

namespace {

using fd::bench::ensureApplication;

// The main window on a log of `records` contacts, none of them with the calls
// typed below and all older than the hour the rates look at.
struct Window {
  explicit Window(int records) {
    ensureApplication();
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

// One saved contact (file append included); the record is taken back between
// runs so the log keeps its size.
void BM_Mains(benchmark::State& st) {
  const int records = static_cast<int>(st.range(0));
  Window w(records);
  for (auto _ : st) {
    st.PauseTiming();
    if (w.state.QsoCount() > records) w.state.Log.removeLast();
    w.form->txtCall->setText("W9ZZZ");
    w.form->txtCK->setText("2A");
    w.form->txtSec->setText("CT");
    st.ResumeTiming();
    w.form->Mains();
  }
  st.counters["saved"] = w.state.QsoCount() > records ? 1 : 0;
}
BENCHMARK(BM_Mains)->Arg(0)->Arg(13999)->Unit(benchmark::kMicrosecond);

}  // namespace
