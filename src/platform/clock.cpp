#include "platform/clock.h"

#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <ctime>


namespace fd {

QDateTime plainDateTime(const QDate& d, const QTime& t) {
  return QDateTime(d, QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

QDateTime SystemClock::localNow() const { return localAndUtcNow().first; }
QDateTime SystemClock::utcNow() const { return localAndUtcNow().second; }

std::pair<QDateTime, QDateTime> SystemClock::localAndUtcNow() const {
  const QDateTime now = QDateTime::currentDateTime();
  const QDateTime utc = now.toUTC();
  return {plainDateTime(now.date(), now.time()), plainDateTime(utc.date(), utc.time())};
}

namespace {
const QElapsedTimer& monotonicTimer() {
  static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
  return timer;
}
}  // namespace

std::int64_t SystemClock::monotonicMs() const { return monotonicTimer().elapsed(); }
std::int64_t SystemClock::monotonicNs() const { return monotonicTimer().nsecsElapsed(); }

void Clock::sleepUntilNs(std::int64_t ns) {
  const std::int64_t left = ns - monotonicNs();
  if (left > 0) sleepMs(static_cast<int>((left + 999'999) / 1'000'000));
}

void SystemClock::sleepUntilNs(std::int64_t ns) {
  const std::int64_t left = ns - monotonicNs();
  if (left <= 0) return;
  // An absolute deadline on CLOCK_MONOTONIC, so an interrupted sleep resumes
  // to the same edge.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::int64_t t = now.tv_sec * 1'000'000'000LL + now.tv_nsec + left;
  const timespec until{static_cast<time_t>(t / 1'000'000'000LL), static_cast<long>(t % 1'000'000'000LL)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

void SystemClock::sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

FakeClock::FakeClock() : local_(plainDateTime(QDate(2024, 6, 22), QTime(18, 0, 0))) {}

void FakeClock::advanceNs(std::int64_t ns) {
  nsPart_ += ns;
  const std::int64_t ms = nsPart_ / 1'000'000;
  nsPart_ %= 1'000'000;
  if (ms) advanceMs(ms);
}

void FakeClock::advanceMs(std::int64_t ms) {
  mono_ += ms;
  subMs_ += ms;
  local_ = local_.addSecs(subMs_ / 1000);
  subMs_ %= 1000;
}

}  // namespace fd
