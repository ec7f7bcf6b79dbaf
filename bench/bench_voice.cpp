// The voice keyer on the real 40 ms timer and event loop, with a fake player
// whose messages end at random moments: the delay from a message's end to
// the PTT release, and the time from FKeyPhone to PTT keyed and to play.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "benchapp.h"
#include <random>

#include "keying/phonefrm_keyer.h"
#include "platform/clock.h"
#include "platform/platform.h"

namespace {

using fd::test::ensureApplication;

// A serial port that notes when RTS changes, on the program's clock.
class TimedPort : public fd::FakeSerialPort {
 public:
  bool setRTSEnable(bool on) override {
    (on ? keyedAt : releasedAt) = nowNs();
    return FakeSerialPort::setRTSEnable(on);
  }
  static qint64 nowNs() {
    static QElapsedTimer t;
    if (!t.isValid()) t.start();
    return t.nsecsElapsed();
  }
  qint64 keyedAt = 0, releasedAt = 0;
};

class TimedPlayer : public fd::FakeAudioPlayer {
 public:
  using FakeAudioPlayer::FakeAudioPlayer;
  bool play() override {
    playAt = TimedPort::nowNs();
    return FakeAudioPlayer::play();
  }
  qint64 playAt = 0;
};

void BM_VoiceEndToRelease(benchmark::State& st) {
  ensureApplication();
  QTemporaryDir dir;
  fd::ProgramState state;
  state.ProgDir = dir.path();
  auto ownPort = std::make_unique<TimedPort>();
  TimedPort* port = ownPort.get();
  TimedPlayer* player = nullptr;
  std::map<QString, int> lengths;
  fd::setAudioFactory([&] {
    auto p = std::make_unique<TimedPlayer>(&lengths);
    player = p.get();
    return p;
  });
  {
    fd::PhoneKeyer keyer(state, *port);
    keyer.out32 = [](int, int) { return true; };
    keyer.settings.Text[0] = "/msg.wav";
    keyer.settings.Text10 = "2";
    keyer.settings.option = fd::WaveSettings::RTS;
    keyer.PhoneSetup();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> length(20, 120);
    double sumMs = 0, worstMs = 0, sumKeyUs = 0, sumPlayUs = 0;
    // How late the 40 ms ticks themselves come: the share of the delay that
    // is the machine's, not the keyer's.
    qint64 lastTick = 0, worstGapNs = 0;
    QObject::connect(&keyer.Timer1, &QTimer::timeout, [&] {
      const qint64 now = TimedPort::nowNs();
      worstGapNs = std::max(worstGapNs, now - lastTick);
      lastTick = now;
    });
    int n = 0;
    for (auto _ : st) {
      lengths["/msg.wav"] = length(rng);
      const qint64 t0 = TimedPort::nowNs();
      int f1 = 112;
      lastTick = TimedPort::nowNs();  // Timer1 starts with the message
      keyer.FKeyPhone(f1);
      const qint64 endNs = player->playAt + qint64(lengths["/msg.wav"]) * 1'000'000;
      while (port->rtsEnable()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      const double delayMs = double(port->releasedAt - endNs) / 1e6;
      sumMs += delayMs;
      worstMs = std::max(worstMs, delayMs);
      sumKeyUs += double(port->keyedAt - t0) / 1e3;
      sumPlayUs += double(player->playAt - t0) / 1e3;
      ++n;
    }
    st.counters["release_mean_ms"] = sumMs / n;
    st.counters["release_worst_ms"] = worstMs;
    st.counters["to_ptt_us"] = sumKeyUs / n;
    st.counters["to_play_us"] = sumPlayUs / n;
    st.counters["worst_tick_gap_ms"] = worstGapNs / 1e6;
  }
  fd::setAudioFactory({});
}
BENCHMARK(BM_VoiceEndToRelease)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
