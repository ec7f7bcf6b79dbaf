// The rig link never stalls the window: the longest gap seen by a 5 ms probe
// timer while the real window polls a pseudo-terminal radio at 100 ms that
// (a) answers, (b) never answers, (c) has closed its end, (d) never reads;
// during an Elecraft frequency change (1.2 s of pauses) and during a minute
// of scanning; the time from Enter in the tune window to the radio's wire.
// Also the cost of one read tick with its parse, and of building
// each family's frequency command.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

#include "fakemainwindow.h"
#include "radiosim.h"
#include "rig/frmrigtune.h"
#include "rig/rigcommands.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigpoll.h"

#include "benchapp.h"

namespace {

// Gaps between probe ticks while `during` runs and events run for `ms`.
struct Probe {
  std::vector<double> gaps;
  void run(int ms, const std::function<void()>& during = {}) {
    QElapsedTimer t;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(5);
    double last = -1;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      const double now = t.nsecsElapsed() / 1e6;
      if (last >= 0) gaps.push_back(now - last);
      last = now;
    });
    t.start();
    probe.start();
    if (during) QTimer::singleShot(20, during);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
  double max() const { return gaps.empty() ? 0 : *std::max_element(gaps.begin(), gaps.end()); }
  double p99() const {
    if (gaps.empty()) return 0;
    std::vector<double> g = gaps;
    std::sort(g.begin(), g.end());
    return g[static_cast<size_t>(0.99 * (g.size() - 1))];
  }
};

struct AppFirst {
  AppFirst() { fd::test::ensureApplication(); }
};

struct Link : AppFirst {
  QTemporaryDir dir;
  fd::ProgramState state;
  fd::test::FakeMainWindow main{&state};
  fd::sim::RadioSim radio;
  std::unique_ptr<fd::RigControlfrm> w;
  explicit Link(const char* family) : radio(QString::fromLatin1(family)) {
    fd::test::ensureApplication();
    state.ProgDir = dir.path();
    state.RigType = QStringLiteral("None");
    QDir(dir.path()).mkdir(QStringLiteral("ports"));
    QFile::link(radio.openPty(), dir.filePath(QStringLiteral("ports/com1")));
    QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), dir.filePath(QStringLiteral("BandPlan.txt")));
    w = std::make_unique<fd::RigControlfrm>(state, &main, nullptr);
    w->List1->setCurrentItem(w->List1->findItems(QString::fromLatin1(family), Qt::MatchExactly).value(0));
    w->List1_Click();
    w->optPollFast->setChecked(true);
  }
};

void report(benchmark::State& st, const Probe& p) {
  st.counters["max_gap_ms"] = p.max();
  st.counters["p99_gap_ms"] = p.p99();
}

void BM_PollStall(benchmark::State& st) {
  const int which = static_cast<int>(st.range(0));
  for (auto _ : st) {
    Link l("Kenwood");
    l.radio.silent = which == 1;
    l.radio.stopReading = which == 3;
    l.w->Command1_Click();
    if (which == 2) l.radio.closeEnd();
    Probe p;
    p.run(10000);
    report(st, p);
    st.counters["still_polling"] = l.w->polling() ? 1 : 0;
    l.w->Form_Unload();
  }
}
BENCHMARK(BM_PollStall)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond)
    ->ArgName("a_answers_b_silent_c_closed_d_unread");

void BM_ElecraftFrequencyChange(benchmark::State& st) {
  for (auto _ : st) {
    Link l("Elecraft");
    l.w->Command1_Click();
    Probe p;
    p.run(2500, [&] { l.w->ChangeFrequency(14.025f); });
    report(st, p);
    l.w->Form_Unload();
  }
}
BENCHMARK(BM_ElecraftFrequencyChange)->Iterations(1)->Unit(benchmark::kMillisecond);

// Enter in the tune window's frequency box at a random phase of the polling,
// 50 times: the time from the key to the frequency command on the wire and to
// the first poll request after it (the radio simulator's time stamps), at
// poll rate F (50 ms ticks) and M (250 ms ticks).
void BM_TuneEnterToWire(benchmark::State& st) {
  const bool fast = st.range(0) == 0;
  for (auto _ : st) {
    Link l("Kenwood");
    (fast ? l.w->optPollFast : l.w->optPollMed)->setChecked(true);
    l.w->Command1_Click();
    fd::frmRigTune tune(l.state, [&] { return l.w.get(); });
    const char* freqs[] = {"7.15", "14.2", "1.9", "21.25", "3.9"};
    const char* cmds[] = {"FA00007150000;", "FA00014200000;", "FA00001900000;", "FA00021250000;", "FA00003900000;"};
    std::vector<double> toCommand, toPoll;
    auto spin = [](int ms) {
      QEventLoop loop;
      QTimer::singleShot(ms, &loop, &QEventLoop::quit);
      loop.exec();
    };
    spin(300);
    for (int i = 0; i < 50; ++i) {
      const qsizetype before = l.radio.received.size();
      tune.txtFreq->setProgramText(QString::fromLatin1(freqs[i % 5]));
      const qint64 enter = l.radio.now();
      int key = 13;
      tune.txtFreq->onKeyPress(key);
      qsizetype at = -1;
      qint64 cmd = -1, poll = -1;
      QElapsedTimer waited;
      waited.start();
      while (poll < 0 && waited.elapsed() < 5000) {
        spin(5);
        cmd = l.radio.stampOf(cmds[i % 5], before, 0, &at);
        if (cmd >= 0) poll = l.radio.stampOf("FA;", before, at);
      }
      if (cmd >= 0) toCommand.push_back(static_cast<double>(cmd - enter));
      if (poll >= 0) toPoll.push_back(static_cast<double>(poll - enter));
      spin(150 + (i * 37) % 250);  // another phase of the polling for the next Enter
    }
    auto median = [](std::vector<double> v) {
      if (v.empty()) return -1.0;
      std::sort(v.begin(), v.end());
      return v[v.size() / 2];
    };
    auto worst = [](const std::vector<double>& v) { return v.empty() ? -1.0 : *std::max_element(v.begin(), v.end()); };
    st.counters["enter_to_freq_cmd_median_ms"] = median(toCommand);
    st.counters["enter_to_freq_cmd_worst_ms"] = worst(toCommand);
    st.counters["enter_to_next_poll_median_ms"] = median(toPoll);
    st.counters["enter_to_next_poll_worst_ms"] = worst(toPoll);
    st.counters["tunes_seen"] = static_cast<double>(toPoll.size());
    l.w->Form_Unload();
  }
}
BENCHMARK(BM_TuneEnterToWire)->Arg(0)->Arg(1)->ArgName("F0_M1")->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ScanMinute(benchmark::State& st) {
  for (auto _ : st) {
    Link l("Kenwood");
    l.w->Command1_Click();
    fd::frmRigTune tune(l.state, [&] { return l.w.get(); });
    tune.txtFreq->setProgramText(QStringLiteral("14.1"));
    tune.txtFrom->setText(QStringLiteral("14.1"));
    tune.txtTo->setText(QStringLiteral("14.2"));
    tune.chkScan->setChecked(true);
    Probe p;
    p.run(60000);
    report(st, p);
    st.counters["scanned_to_mhz"] = tune.txtFreq->text().toDouble();
    l.w->Form_Unload();
  }
}
BENCHMARK(BM_ScanMinute)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReadTickParse(benchmark::State& st) {
  fd::test::ensureApplication();
  fd::FakeSerialPort port;
  port.setCommPort(1);
  port.open();
  fd::rig::RigPoll p;
  p.port = &port;
  p.fam = fd::rig::family(QStringLiteral("Kenwood"));
  p.req = {QStringLiteral("FA;"), QStringLiteral("MD;")};
  for (auto _ : st) {
    p.sendTick();
    port.pending = "FA00014025000;MD3;";
    bool ok;
    benchmark::DoNotOptimize(p.readTick(ok));
  }
}
BENCHMARK(BM_ReadTickParse);

void BM_BuildFrequencyCommand(benchmark::State& st) {
  const auto& fam = fd::rig::families()[static_cast<size_t>(st.range(0))];
  const fd::cat::Requests r{QString::fromLatin1(fam.freqRequest), QString::fromLatin1(fam.modeRequest)};
  st.SetLabel(fam.name);
  for (auto _ : st) benchmark::DoNotOptimize(fd::rig::frequencyCommand(fam, 14.025f, r, 10));
}
BENCHMARK(BM_BuildFrequencyCommand)->DenseRange(0, 18);

}  // namespace
