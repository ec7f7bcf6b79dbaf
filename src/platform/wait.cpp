#include "platform/wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSet>
#include <QTimer>

#include "platform/platform.h"

namespace fd {
namespace {

QSet<const void*>& activeSites() {
  static QSet<const void*> sites;
  return sites;
}

struct SiteGuard {
  const void* site;
  explicit SiteGuard(const void* s) : site(s) { if (site) activeSites().insert(site); }
  ~SiteGuard() { if (site) activeSites().remove(site); }
};

// A pass that holds the operator's input back leaves it queued without
// telling the event loop again: the loop would only look at it when the
// display sends something new, so the last keys of a burst would sit there.
void announceHeldInput() {
  if (QAbstractEventDispatcher* d = QCoreApplication::eventDispatcher()) d->wakeUp();
}

struct HeldInputGuard {
  bool holds;
  ~HeldInputGuard() { if (holds) announceHeldInput(); }
};

}  // namespace

WaitResult waitUntil(const std::function<bool()>& done, const WaitOptions& o) {
  if (o.site && activeSites().contains(o.site)) return WaitResult::Busy;
  SiteGuard guard(o.site);
  const HeldInputGuard held{o.input == WaitInput::Hold};
  Clock& c = clock();
  const std::int64_t start = c.monotonicMs();
  const QEventLoop::ProcessEventsFlags flags =
      o.input == WaitInput::Hold ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
  const int step = o.stepMs > 0 ? o.stepMs : 1;
  // A ticking timer wakes the event loop so the limit is seen on time.
  QTimer tick;
  if (!c.isVirtual() && !o.spin) {
    tick.setInterval(step);
    tick.start();
  }
  for (;;) {
    if (done && done()) return WaitResult::Met;
    const std::int64_t elapsed = c.monotonicMs() - start;
    if (elapsed >= o.limitMs || elapsed < 0) return WaitResult::TimedOut;
    if (c.isVirtual()) {
      QCoreApplication::processEvents(flags);
      c.advanceMs(std::min<std::int64_t>(step, o.limitMs - elapsed));
    } else {
      QCoreApplication::processEvents(o.spin ? flags : flags | QEventLoop::WaitForMoreEvents);
    }
  }
}

void pauseFor(std::int64_t ms, WaitInput input) {
  WaitOptions o;
  o.limitMs = ms;
  o.input = input;
  waitUntil(nullptr, o);
}

void runPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  announceHeldInput();
}

}  // namespace fd
