#pragma once
// One bounded wait for the whole program: wait until a condition holds or a
// time limit on the monotonic clock has passed, letting paints and timers run
// meanwhile. Typed keys and clicks are held back or let through as the caller
// says. Waits may nest (a wait started from an event inside another wait runs
// events itself; the outer one resumes when it returns); only one wait site
// cannot re-enter itself. Under a virtual clock (tests) the wait advances
// virtual time in small steps and re-checks, with no real delay.
#include <cstdint>
#include <functional>

namespace fd {

enum class WaitInput { Hold, LetThrough };
enum class WaitResult { Met, TimedOut, Busy };  // Busy: this site is already waiting

struct WaitOptions {
  std::int64_t limitMs = 0;
  WaitInput input = WaitInput::Hold;
  const void* site = nullptr;  // re-entry guard; nullptr: no guard
  int stepMs = 5;              // virtual-clock step and real-clock poll period
  // Poll without ever letting the processor idle (events still run): for a
  // wait whose caller times work by counting, which a core that naps and
  // wakes at a lower clock would run slower.
  bool spin = false;
};

// Returns Met as soon as done() holds (checked first, before any event runs).
WaitResult waitUntil(const std::function<bool()>& done, const WaitOptions& options);

// Lets events run for ms milliseconds (a bounded pause; never returns early).
void pauseFor(std::int64_t ms, WaitInput input = WaitInput::Hold);

// One pass of the event loop for a key's or a click's handler that lets
// pending events run (a link's, a repaint): the operator's keys and clicks
// already queued wait, and run after the handler in the order typed.
void runPendingEvents();

}  // namespace fd
