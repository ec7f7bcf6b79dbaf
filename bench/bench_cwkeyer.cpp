// The CW keyer's timing on the real clock inside a live event loop that has
// work to do, as during a contest: the main window on a full log (14000
// contacts) repainted from a 1 ms timer. A message is keyed on the recording
// key line per timing method at 20 and 40 WPM. Reported as counters:
// key-down and intra-character gap error (mean and worst, ms; the key-down
// error's signed mean too, above 0 when elements run long), the extra
// length of character gaps, the longest event-loop stall and whether it fell
// in a key-down unit, and the calibrated loop count with its measured unit.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "benchapp.h"
#include <cmath>

#include "keying/cwkeyer.h"
#include "log/form1.h"
#include "log/logfile.h"
#include "platform/keylines.h"
#include "platform/platform.h"
#include "platform/serial.h"
#include "testenv.h"

namespace {

struct Stats {
  double sum = 0, signedSum = 0, worst = 0;
  int n = 0;
  void add(double err) {
    sum += std::abs(err);
    signedSum += err;
    worst = std::max(worst, std::abs(err));
    ++n;
  }
  double mean() const { return n ? sum / n : 0; }
  double bias() const { return n ? signedSum / n : 0; }  // above 0: long
};

void BM_KeyMessage(benchmark::State& st) {
  fd::test::ensureApplication();
  fd::test::FakePlatform fake;  // scripted boxes; the clock is the real one below
  fd::platform().clock = std::make_unique<fd::SystemClock>();
  QTemporaryDir dir;
  fd::ProgramState state;
  state.ProgDir = dir.path();
  fd::fillSectionTable(state);
  {
    QByteArray file;
    for (int i = 1; i <= 14000; ++i)
      file += fd::logfile::formatLine({QStringLiteral("K%1ABC").arg(i), "2A", "CT", "2024/06/22", "16:05:00", "40", "PH", "AB", ""});
    QFile f(state.progFile(QStringLiteral("fdlog.dat")));
    f.open(QIODevice::WriteOnly);
    f.write(file);
  }
  fd::Services sv;
  fd::Form1 form(state, sv);
  form.book.mnuopen2();
  form.show();

  fd::FakeSerialPort comm, phone;
  comm.setCommPort(1);
  comm.open();
  fd::CWKeyer keyer(state, comm, phone);
  state.KeyingType = 1;
  const double wpm = static_cast<double>(st.range(1));
  keyer.set.Text[11] = QString::number(wpm);
  keyer.set.timing = static_cast<fd::CWTiming>(st.range(0));
  if (keyer.set.timing == fd::CWTiming::Loop) keyer.CalibrateCWLoop();

  // The busy event loop: a repaint every millisecond; the longest gap
  // between ticks is the stall.
  QElapsedTimer since;
  double stall = 0;
  bool stallInKeyDown = false;
  fd::KeyLineRecorder rec;
  QTimer busy;
  busy.setInterval(1);
  QObject::connect(&busy, &QTimer::timeout, [&] {
    const double gap = since.nsecsElapsed() / 1e6;
    if (gap > stall) {
      stall = gap;
      // Whether the stall spanned a key-down unit (the line set down inside it).
      const std::int64_t now = fd::clock().monotonicNs(), from = now - since.nsecsElapsed();
      stallInKeyDown = false;
      for (auto it = rec.events.rbegin(); it != rec.events.rend() && it->ns >= from; ++it)
        if (it->value == 1) stallInKeyDown = true;
    }
    since.restart();
    form.update();
    form.repaint();
  });

  const double unit = 1200.0 / wpm;
  Stats down, intra, charGap;
  for (auto _ : st) {
    rec.clear();
    stall = 0;
    busy.start();
    since.start();
    for (QChar c : QStringLiteral("CQ FD DE W1AW W1AW K")) keyer.Transmit(QString(c));
    busy.stop();
    // Runs of equal values: each run is one element or gap, timed from its
    // first set call to the next run's first.
    const auto& e = rec.events;
    for (size_t i = 0; i < e.size();) {
      size_t j = i;
      while (j < e.size() && e[j].value == e[i].value) ++j;
      if (j >= e.size()) break;
      const double ms = (e[j].ns - e[i].ns) / 1e6;
      const double want = static_cast<double>(j - i) * unit;
      if (e[i].value == 1) down.add(ms - want);
      else if (j - i == 1) intra.add(ms - want);
      else if (j - i == 3) charGap.add(ms - want);
      i = j;
    }
  }
  st.counters["down_mean_ms"] = down.mean();
  st.counters["down_worst_ms"] = down.worst;
  st.counters["down_bias_ms"] = down.bias();
  st.counters["gap_mean_ms"] = intra.mean();
  st.counters["gap_worst_ms"] = intra.worst;
  st.counters["chargap_extra_mean_ms"] = charGap.mean();
  st.counters["chargap_extra_worst_ms"] = charGap.worst;
  st.counters["stall_ms"] = stall;
  st.counters["stall_in_keydown"] = stallInKeyDown ? 1 : 0;
  if (keyer.set.timing == fd::CWTiming::Loop) {
    st.counters["loops_per_60ms"] = keyer.set.LoopsPer60ms;
    QElapsedTimer t;
    t.start();
    fd::countLoop(keyer.set.LoopsPer60ms);
    st.counters["measured_unit_ms"] = t.nsecsElapsed() / 1e6;
  }
}
// Timing methods: 0 Timer, 1 Sleep, 2 Loop.
BENCHMARK(BM_KeyMessage)
    ->ArgsProduct({{0, 1, 2}, {20, 40}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
