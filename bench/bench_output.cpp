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

// ---- The ADIF reader on 5 MB of whatever the operator picked ----
// Real ADIF (the export of about 22,000 contacts, more than a log holds)
// against files of other kinds: a web page of the log (tags without a
// colon, and no colon anywhere), the densest such tags ("<b>" after "<b>"),
// and plain text without a "<". Run it on one core: taskset -c 0.

enum class FileKind { Adif, WebPage, DenseTags, PlainText };

QByteArray fiveMegabytes(FileKind kind) {
  constexpr qsizetype kSize = 5 * 1024 * 1024;
  QByteArray out;
  out.reserve(kSize + 4096);
  if (kind == FileKind::Adif) {
    const fd::adif::ExportTexts texts{"100", "ARRL Field Day Contest", "PH"};
    const qsizetype perRecord = fd::adif::exportFile(sampleLog(100), texts, fd::kProgramTitle, QDate(2024, 6, 23)).size() / 100;
    out = fd::adif::exportFile(sampleLog(static_cast<int>(kSize / perRecord) + 100), texts, fd::kProgramTitle,
                               QDate(2024, 6, 23));
  } else {
    for (int i = 0; out.size() < kSize; ++i) {
      if (kind == FileKind::WebPage)
        out += QStringLiteral("<tr><td>K%1ABC</td><td>2A</td><td>ENY</td><td>2024/06/22</td><td>18.05</td></tr>\r\n")
                   .arg(i)
                   .toLatin1();
      else if (kind == FileKind::DenseTags)
        out += "<b><b><b><b><b><b><b><b>\r\n";
      else
        out += QStringLiteral("Contact %1 with K%1ABC, class 2A, section ENY, on 20 metres in CW.\r\n").arg(i).toLatin1();
    }
  }
  out.truncate(kSize);
  return out;
}

void BM_AdifRead5MB(benchmark::State& st, FileKind kind) {
  const QByteArray bytes = fiveMegabytes(kind);
  size_t records = 0;
  for (auto _ : st) {
    const auto read = fd::adif::readRecords(bytes);
    records = read.size();
    benchmark::DoNotOptimize(read.data());
  }
  st.counters["records"] = static_cast<double>(records);
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * bytes.size());
}
BENCHMARK_CAPTURE(BM_AdifRead5MB, adif, FileKind::Adif)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdifRead5MB, web_page, FileKind::WebPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdifRead5MB, dense_tags, FileKind::DenseTags)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdifRead5MB, plain_text, FileKind::PlainText)->Unit(benchmark::kMillisecond);

// The append's verdict on such a file, picked as .adi: the ADIF holds more
// contacts than a log may ("Append Error", nothing appended); the others hold
// no record ("Invalid ADIF File Format.").
void BM_AdifAppendVerdict5MB(benchmark::State& st, FileKind kind) {
  AppendRig rig{QByteArray()};
  rig.write("in.adi", fiveMegabytes(kind));
  for (auto _ : st) {
    rig.fake.dialogs->clear();
    benchmark::DoNotOptimize(rig.svc.appendFile(rig.dir.path() + "/in.adi", true));
  }
  if (rig.fake.dialogs->shown.size() != 1) st.SkipWithError("the append did not give one box");
  else st.SetLabel(rig.fake.dialogs->shown[0].title.toStdString());
}
BENCHMARK_CAPTURE(BM_AdifAppendVerdict5MB, adif_over_the_limit, FileKind::Adif)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdifAppendVerdict5MB, web_page, FileKind::WebPage)->Unit(benchmark::kMillisecond);

}  // namespace
