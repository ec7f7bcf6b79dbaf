#pragma once
// Runs against hostile peers: the run's length (FD_SOAK_SECONDS, a few
// seconds by default; `make soak-peers` sets a minute), the process's resident
// memory sampled while events run, and the longest event-loop stall as a
// 5 ms probe timer sees it (the gap between two of its ticks), with the
// thread's own CPU time in each gap: on a loaded machine a gap can be long
// while the loop was merely not scheduled, which the CPU time tells apart.
#include <QString>
#include <gtest/gtest.h>
#include <functional>

namespace fd::test {

// FD_SOAK_SECONDS when it holds a whole number above 0, else fallback.
int soakSeconds(int fallback = 3);
// The process's VmRSS and VmHWM in MB (0 when /proc cannot be read).
double residentMB();
double highWaterMB();

struct SoakRun {
  double startMB = 0;         // resident memory when the warm-up ended
  double peakMB = 0;          // highest resident memory sampled after it
  double highWaterMB = 0;     // VmHWM at the end (the whole process so far; the
                              // kernel updates it lazily, so it can lag VmRSS)
  double longestStallMs = 0;  // over the whole run, warm-up included
  double longestBusyMs = 0;   // the most CPU time the thread spent in one gap
  int samples = 0;

  // Runs events on the real clock for ms, calling each() every 20 ms and
  // sampling memory every 50 ms; the first warmupMs set the starting point.
  void run(int ms, const std::function<void()>& each = {}, int warmupMs = 500);
  double growthMB() const { return peakMB - startMB; }
  // The checks every hostile peer shares: memory grew less than 16 MB after
  // the warm-up, the loop's own work never held it 100 ms, and no gap reached
  // half a second even with the machine busy with other work.
  void expectBounded() const;
  // One line for the soak report: "[soak] <peer>: highest memory ... MB ...".
  QString summary(const QString& peer) const;
};

}  // namespace fd::test
