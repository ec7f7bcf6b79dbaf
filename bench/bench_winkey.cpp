// The WinKey keyer through the simulator on a pseudo-terminal, real clock:
// the open handshake, Buffer Test's hand-over of 81 characters (at least
// 810 ms by the 10 ms pause per character) with the longest event-loop stall
// meanwhile (a 1 ms timer), and Generate at the 30 000-character cap.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "benchapp.h"

#include "keying/codepractice.h"
#include "keying/winkeyer.h"
#include "platform/platform.h"
#include "platform/serial.h"
#include "testenv.h"
#include "winkeysim.h"

namespace {

void BM_WinKeyBufferTest(benchmark::State& st) {
  fd::test::ensureApplication();
  fd::test::FakePlatform fake;
  fd::platform().clock = std::make_unique<fd::SystemClock>();
  fd::sim::WinKeySim sim;
  sim.msPerChar = 5;
  QTemporaryDir dir;
  QDir(dir.path()).mkdir(QStringLiteral("ports"));
  QFile::link(sim.slavePath(), dir.filePath(QStringLiteral("ports/com5")));
  fd::ProgramState state;
  auto port = fd::makeQtSerialPort();
  fd::FakeSerialPort comm, phone;
  fd::WinKeyer wk(state, *port, comm, phone);
  wk.programFolder = dir.path();
  wk.WinKeyPort = 5;
  QElapsedTimer t;
  t.start();
  wk.cmdOpenWinkey_Click();
  const double openMs = t.nsecsElapsed() / 1e6;
  double handOver = 0, stall = 0;
  QElapsedTimer since;
  QTimer tick;
  tick.setInterval(1);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    stall = std::max(stall, since.nsecsElapsed() / 1e6);
    since.restart();
  });
  for (auto _ : st) {
    tick.start();
    since.start();
    t.restart();
    wk.Command1_Click();
    handOver = t.nsecsElapsed() / 1e6;
    tick.stop();
  }
  st.counters["open_ms"] = openMs;
  st.counters["handover_ms"] = handOver;
  st.counters["stall_ms"] = stall;
  std::mt19937 rng(1);
  QString count = QStringLiteral("5000"), length = QStringLiteral("5");
  t.restart();
  benchmark::DoNotOptimize(fd::generatePractice(count, length, false, rng));
  st.counters["generate_cap_ms"] = t.nsecsElapsed() / 1e6;
  wk.release();
}
BENCHMARK(BM_WinKeyBufferTest)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
