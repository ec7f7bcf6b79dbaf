#include "soakmeter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <ctime>

namespace fd::test {

namespace {
double statusMB(const char* key) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QByteArray k(key);
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (!line.startsWith(k)) continue;
    // "VmRSS:	   12345 kB"
    return line.mid(k.size()).replace("kB", "").trimmed().toDouble() / 1024.0;
  }
  return 0;
}
double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
}  // namespace

int soakSeconds(int fallback) {
  bool ok = false;
  const int s = qEnvironmentVariableIntValue("FD_SOAK_SECONDS", &ok);
  return ok && s > 0 ? s : fallback;
}

double residentMB() { return statusMB("VmRSS:"); }
double highWaterMB() { return statusMB("VmHWM:"); }

void SoakRun::run(int ms, const std::function<void()>& each, int warmupMs) {
  QElapsedTimer clock;
  double lastTick = -1, lastCpu = 0;
  QTimer probe, work, sample;
  probe.setTimerType(Qt::PreciseTimer);
  probe.setInterval(5);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const double now = clock.nsecsElapsed() / 1e6, cpu = threadCpuMs();
    if (lastTick >= 0) {
      longestStallMs = std::max(longestStallMs, now - lastTick);
      longestBusyMs = std::max(longestBusyMs, cpu - lastCpu);
    }
    lastTick = now;
    lastCpu = cpu;
  });
  work.setInterval(20);
  QObject::connect(&work, &QTimer::timeout, [&] {
    if (each) each();
  });
  bool warm = false;
  sample.setInterval(50);
  QObject::connect(&sample, &QTimer::timeout, [&] {
    const double rss = residentMB();
    if (!warm && clock.elapsed() >= warmupMs) {
      warm = true;
      startMB = peakMB = rss;
    } else if (warm) {
      peakMB = std::max(peakMB, rss);
      ++samples;
    }
  });
  QEventLoop loop;
  QTimer end;
  end.setSingleShot(true);
  end.setTimerType(Qt::PreciseTimer);
  QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
  clock.start();
  lastCpu = threadCpuMs();
  probe.start();
  work.start();
  sample.start();
  end.start(ms);
  loop.exec();
  highWaterMB = fd::test::highWaterMB();
}

void SoakRun::expectBounded() const {
  EXPECT_GT(samples, 0);
  EXPECT_LT(growthMB(), 16.0);
  EXPECT_LT(longestBusyMs, 100.0);
  EXPECT_LT(longestStallMs, 500.0);
}

QString SoakRun::summary(const QString& peer) const {
  return QStringLiteral("[soak] %1: highest memory %2 MB (grew %3 MB after the warm-up; VmHWM %4 MB), "
                        "longest stall %5 ms (at most %6 ms of the loop's own work in one gap)")
      .arg(peer)
      .arg(peakMB, 0, 'f', 1)
      .arg(growthMB(), 0, 'f', 1)
      .arg(highWaterMB, 0, 'f', 1)
      .arg(longestStallMs, 0, 'f', 1)
      .arg(longestBusyMs, 0, 'f', 1);
}

}  // namespace fd::test
