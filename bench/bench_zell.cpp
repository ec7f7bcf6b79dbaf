// The Zell RTTY link: an update from the peer into the real call field, one
// poke, and the longest event-loop stall while pokes pile up for a peer that
// stopped reading.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "benchapp.h"

#include "keying/keyingservice.h"
#include "log/form1.h"
#include "platform/wait.h"
#include "testenv.h"
#include "zellpeer.h"

namespace {

using fd::test::ensureApplication;

// The main window with the real keying service, linked to a peer, mode DIG.
struct Linked {
  Linked() {
    ensureApplication();
    state.ProgDir = dir.path();
    fd::fillSectionTable(state);
    state.OpInitials = "AB";
    state.MyCall = "W1AW";
    state.CurMode = "DIG";
    auto k = std::make_unique<fd::KeyingService>(state);
    keying = k.get();
    sv.keying = std::move(k);
    keying->zellServerName = sockets.path(QStringLiteral("zell"));
    peer = std::make_unique<fd::sim::ZellPeer>(keying->zellServerName);
    form = std::make_unique<fd::Form1>(state, sv);
    form->book.mnuopen2();
    sv.attach(*form);
    fake.dialogs->answers.push_back(fd::Answer::Ok);
    keying->connectZell();
    fd::pauseFor(0);
  }
  fd::test::FakePlatform fake;
  fd::test::SocketFolder sockets;
  QTemporaryDir dir;
  fd::ProgramState state;
  fd::Services sv;
  fd::KeyingService* keying = nullptr;
  std::unique_ptr<fd::sim::ZellPeer> peer;
  std::unique_ptr<fd::Form1> form;
};

// One line from the peer until the call field shows it (includes the socket
// round trip inside the process and the field's change step).
void BM_ZellUpdateIntoCallField(benchmark::State& st) {
  Linked l;
  int i = 0;
  for (auto _ : st) {
    const QString call = QStringLiteral("K%1X").arg(++i % 100000);
    l.peer->sendLine(QStringLiteral("txtSUrCall=") + call);
    while (l.form->txtCall->text() != call) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}
BENCHMARK(BM_ZellUpdateIntoCallField)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// One poke: the call field's text changed in DIG reaches the socket.
void BM_ZellPoke(benchmark::State& st) {
  Linked l;
  int i = 0;
  for (auto _ : st) l.keying->setDigitalCall(QStringLiteral("K%1X").arg(++i));
  QCoreApplication::processEvents();
}
BENCHMARK(BM_ZellPoke)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// A peer that stops reading: 20 pokes per event-loop pass for 2 s while a
// 5 ms timer measures the longest gap between its ticks.
void BM_ZellStalledPeerLongestStall(benchmark::State& st) {
  Linked l;
  l.peer->stopReading();
  double worstMs = 0;
  for (auto _ : st) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 worst = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      worst = std::max(worst, now - last);
      last = now;
    });
    tick.start();
    int i = 0;
    while (clock.elapsed() < 2000) {
      for (int k = 0; k < 20; ++k) l.keying->setDigitalCall(QStringLiteral("K%1").arg(++i) + QString(40, u'X'));
      QCoreApplication::processEvents();
    }
    worstMs = std::max(worstMs, worst / 1e6);
  }
  st.counters["worst_gap_ms"] = worstMs;
  st.counters["pending_bytes"] = static_cast<double>(l.keying->frmDigitalSource->link().pendingBytes());
}
BENCHMARK(BM_ZellStalledPeerLongestStall)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
