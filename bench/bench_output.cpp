// The exports and (later) the backups and the append, on a 14000-record log
// against a 100-record one: per-record time shows whether anything grows
// faster than the log.
#include <QDir>
#include <QFile>
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

// ---- Backups and the append ----
#include <QApplication>

#include "fakemainwindow.h"
#include "log/logbook.h"
#include "log/logfile.h"
#include "output/backup_window.h"
#include "output/outputservice.h"
#include "testenv.h"

namespace {

QByteArray dataFile(const std::vector<QsoRecord>& log) {
  QByteArray out;
  for (const QsoRecord& r : log) out += fd::logfile::formatLine(r);
  return out;
}

// A program folder with an empty (or given) log, the service and a fake main window.
struct AppendRig {
  explicit AppendRig(const QByteArray& logFile) {
    state.ProgDir = dir.path();
    state.FieldDayDir = dir.path();
    fd::fillSectionTable(state);
    write("fdlog.dat", logFile);
    book.mnuopen2();
    svc.attach(main);
  }
  void write(const QString& name, const QByteArray& bytes) const {
    QFile f(dir.path() + "/" + name);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
  }
  // The fake main window holds a widget: the first rig makes the application.
  static bool application() {
    if (!qApp) {
      static int argc = 1;
      static char name[] = "fieldday_bench";
      static char* argv[] = {name, nullptr};
      qputenv("QT_QPA_PLATFORM", "offscreen");
      new QApplication(argc, argv);
    }
    return true;
  }
  bool ready = application();
  fd::test::FakePlatform fake;
  QTemporaryDir dir;
  fd::ProgramState state;
  fd::LogBook book{state};
  fd::test::FakeMainWindow main{&state, &book};
  fd::OutputService svc{state};
};

// Restore: a backup of n records into an empty log (file read, ordered, fdlog.dat
// rewritten and fsynced, the log reloaded).
void BM_RestoreBackup(benchmark::State& st) {
  const auto log = sampleLog(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    st.PauseTiming();
    AppendRig rig{QByteArray()};
    rig.write("LogBkUp.dat", dataFile(log));
    st.ResumeTiming();
    benchmark::DoNotOptimize(rig.svc.appendFile(rig.dir.path() + "/LogBkUp.dat", true));
  }
  perRecord(st);
}
BENCHMARK(BM_RestoreBackup)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

// Half the records appended to the other half, interleaved in time.
void BM_AppendHalf(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  auto all = sampleLog(n);
  std::vector<QsoRecord> a, b;
  for (int i = 0; i < n; ++i) {
    all[static_cast<size_t>(i)].Time = QStringLiteral("%1:%2:00").arg(i / 600 % 24, 2, 10, QChar('0')).arg(i / 10 % 60, 2, 10, QChar('0'));
    (i % 2 ? a : b).push_back(all[static_cast<size_t>(i)]);
  }
  for (auto _ : st) {
    st.PauseTiming();
    AppendRig rig{dataFile(a)};
    rig.write("other.dat", dataFile(b));
    st.ResumeTiming();
    benchmark::DoNotOptimize(rig.svc.appendFile(rig.dir.path() + "/other.dat", true));
  }
  perRecord(st);
}
BENCHMARK(BM_AppendHalf)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

void BM_ImportAdif(benchmark::State& st) {
  const auto log = sampleLog(static_cast<int>(st.range(0)));
  const QByteArray adi = fd::adif::exportFile(log, {"100", "ARRL Field Day Contest", "PH"}, fd::kProgramTitle, QDate(2024, 6, 23));
  for (auto _ : st) {
    st.PauseTiming();
    AppendRig rig{QByteArray()};
    rig.write("in.adi", adi);
    st.ResumeTiming();
    benchmark::DoNotOptimize(rig.svc.appendFile(rig.dir.path() + "/in.adi", true));
  }
  perRecord(st);
}
BENCHMARK(BM_ImportAdif)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

// One backup check that writes LogBkUp.dat and both copies.
void BM_BackupCheck(benchmark::State& st) {
  AppendRig rig{dataFile(sampleLog(static_cast<int>(st.range(0))))};
  QDir(rig.dir.path()).mkdir("other");
  rig.svc.loadBackupWindow();
  fd::frmBackup& w = *rig.svc.backupWindow;
  w.Check2->setChecked(true);
  w.Check3->setChecked(true);
  w.Text1->setText(rig.dir.path() + "/other");
  for (auto _ : st) {
    rig.state.LastBackupCount = 0;
    rig.state.BackupMinutes = 14;
    w.Timer1_Timer();
  }
  perRecord(st);
}
BENCHMARK(BM_BackupCheck)->Arg(100)->Arg(14000)->Unit(benchmark::kMillisecond);

}  // namespace
