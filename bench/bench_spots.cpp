// Spot intake: one spot posted (parse, store, a list row at 200 rows), and
// a burst of 1,000 cluster lines over loopback TCP: the longest stall of the
// event loop (a 5 ms probe timer) and the time until all are posted.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include "fakecluster.h"
#include "fakemainwindow.h"
#include "spots/packetspotfrm.h"
#include "spots/spotline.h"
#include "spots/spotservice.h"
#include "spots/spectrummap.h"
#include "spots/spotstore.h"

#include "benchapp.h"

namespace {

QString spotLine(int n) {
  return QStringLiteral("DX de W3LPL:     %1  ").arg(14000.0 + (n % 350) * 1.0, 7, 'f', 1) +
         QStringLiteral("K%1AB").arg(n).leftJustified(13) + QStringLiteral("CW 599 up 2                    1234Z\r\n");
}

void BM_PostOneSpotAt200Rows(benchmark::State& st) {
  fd::test::ensureApplication();
  fd::ProgramState state;
  fd::test::FakeMainWindow main{&state};
  fd::SpotService svc{state};
  svc.attach(main);
  for (int i = 0; i < 200; ++i) svc.BandMapSpots(QStringLiteral("K%1X").arg(i), QStringLiteral("7000"), QString());
  int n = 0;
  for (auto _ : st) {
    const QString line = spotLine(n++);
    const auto f = fd::spotline::fields(line);
    QString record;
    fd::spotline::record(line, record);
    svc.BandMapSpots(f.call, f.freq, record);
  }
  st.counters["rows"] = main.view.list.topLevelItemCount();
}
BENCHMARK(BM_PostOneSpotAt200Rows)->Unit(benchmark::kMicrosecond);

void BM_BurstOf1000LinesOverLoopback(benchmark::State& st) {
  fd::test::ensureApplication();
  for (auto _ : st) {
    QTemporaryDir dir;
    fd::ProgramState state;
    state.ProgDir = dir.path();
    fd::test::FakeMainWindow main{&state};
    fd::SpotService svc{state};
    svc.attach(main);
    fd::sim::FakeCluster cluster;
    cluster.listen();
    QFile f(dir.filePath(QStringLiteral("PackSpot.txt")));
    f.open(QIODevice::WriteOnly);
    f.write("\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n0\r\n#FALSE#\r\n\"\"\r\n\"" +
            QByteArray::number(cluster.port()) + "\"\r\n\"127.0.0.1\"\r\n");
    f.close();
    fd::PacketSpotfrm* w = svc.loadSpotWindow();
    w->show();
    QElapsedTimer wait;
    wait.start();
    while (!cluster.hasClient() && wait.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QByteArray burst;
    for (int i = 0; i < 1000; ++i) burst += spotLine(i).toLatin1();
    // The probe: the longest gap between 5 ms ticks is the longest stall.
    QElapsedTimer probeClock;
    qint64 last = 0, worst = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
      const qint64 now = probeClock.elapsed();
      worst = std::max(worst, now - last);
      last = now;
    });
    const int base = main.view.list.topLevelItemCount();
    probeClock.start();
    probe.start();
    QElapsedTimer all;
    all.start();
    cluster.write(burst);
    qint64 doneMs = -1;
    int posted = 0;
    while (all.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      posted = static_cast<int>(svc.store.slot[49].call == QStringLiteral("K999AB"));
      if (posted) { doneMs = all.elapsed(); break; }
    }
    // Let the monitor's mirror and a paint run too.
    QElapsedTimer tail;
    tail.start();
    while (tail.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    probe.stop();
    st.counters["stall_ms"] = static_cast<double>(worst);
    st.counters["all_posted_ms"] = static_cast<double>(doneMs);
    st.counters["rows"] = main.view.list.topLevelItemCount() - base;
    svc.unload(fd::SideWindow::PacketSpotfrm);
  }
}
BENCHMARK(BM_BurstOf1000LinesOverLoopback)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// One band-map redraw with fifty spots on the band.
void BM_BandMapRedraw50Spots(benchmark::State& st) {
  fd::test::ensureApplication();
  fd::ProgramState state;
  state.CurBand = QStringLiteral("20");
  fd::test::FakeMainWindow main{&state};
  fd::SpotService svc{state};
  svc.attach(main);
  svc.PacketResize(QStringLiteral("Telnet"), false);
  for (int i = 0; i < 50; ++i)
    svc.BandMapSpots(QStringLiteral("K%1AB").arg(i), QString::number(14001 + i * 6), QString());
  for (auto _ : st) svc.displayBandMapLabels();
}
BENCHMARK(BM_BandMapRedraw50Spots)->Unit(benchmark::kMicrosecond);

// One spectrum-map redraw with fifty spots spread over the HF bands.
void BM_SpectrumRedraw50Spots(benchmark::State& st) {
  fd::test::ensureApplication();
  fd::ProgramState state;
  fd::test::FakeMainWindow main{&state};
  fd::SpotStore store;
  const QDateTime now = QDateTime::currentDateTime();
  const double bands[] = {1.81, 3.51, 7.01, 10.11, 14.01, 18.07, 21.01, 24.9, 28.01, 50.1};
  for (int i = 0; i < 50; ++i) store.add(QStringLiteral("K%1AB").arg(i), bands[i % 10] + 0.003 * (i / 10), now);
  fd::SpectrumMap map{store, state, &main};
  map.Form_Load();
  for (auto _ : st) {
    map.SetSpectrumScale();
    map.BandMapLabelDisplay();
  }
}
BENCHMARK(BM_SpectrumRedraw50Spots)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "fakeagw.h"

namespace {

// 1,000 monitored frames sent in one burst by the fake engine.
void BM_BurstOf1000AgwFrames(benchmark::State& st) {
  fd::test::ensureApplication();
  for (auto _ : st) {
    QTemporaryDir dir;
    fd::sim::FakeAgwEngine engine;
    engine.listen();
    qputenv("FIELDDAY_AGW", "127.0.0.1:" + QByteArray::number(engine.port()));
    fd::ProgramState state;
    state.ProgDir = dir.path();
    state.MyCall = QStringLiteral("N0CALL");
    fd::test::FakeMainWindow main{&state};
    fd::SpotService svc{state};
    svc.attach(main);
    fd::PacketSpotfrm* w = svc.loadSpotWindow();
    w->List1->setCurrentRow(3);
    w->Command1_Click();
    QElapsedTimer probeClock;
    qint64 last = 0, worst = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
      const qint64 now = probeClock.elapsed();
      worst = std::max(worst, now - last);
      last = now;
    });
    probeClock.start();
    probe.start();
    QElapsedTimer all;
    all.start();
    for (int i = 0; i < 1000; ++i) engine.sendMonitor(QStringLiteral("W1AW"), spotLine(i).trimmed().toLatin1());
    qint64 doneMs = -1;
    while (all.elapsed() < 30000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      if (svc.store.slot[49].call == QStringLiteral("K999AB")) { doneMs = all.elapsed(); break; }
    }
    probe.stop();
    st.counters["stall_ms"] = static_cast<double>(worst);
    st.counters["all_posted_ms"] = static_cast<double>(doneMs);
    svc.unload(fd::SideWindow::PacketSpotfrm);
    qunsetenv("FIELDDAY_AGW");
  }
}
BENCHMARK(BM_BurstOf1000AgwFrames)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
