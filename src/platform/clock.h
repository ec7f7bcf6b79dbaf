#pragma once
// The clocks the program reads: the local wall clock (whole seconds), the
// system's UTC, a monotonic clock for holds and waits, and a sleep.
#include <QDateTime>
#include <cstdint>

namespace fd {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime localNow() const = 0;   // local wall-clock reading, whole seconds, no zone math
  virtual QDateTime utcNow() const = 0;     // the system's UTC, whole seconds
  // Local and UTC read from one instant.
  virtual std::pair<QDateTime, QDateTime> localAndUtcNow() const = 0;
  virtual std::int64_t monotonicMs() const = 0;
  virtual void sleepMs(int ms) = 0;
  // The same monotonic clock to the nanosecond, and a sleep to an absolute
  // reading of it (the keyer's unit edges: only the wake-up latency adds).
  virtual std::int64_t monotonicNs() const { return monotonicMs() * 1'000'000; }
  virtual void sleepUntilNs(std::int64_t ns);
  // A clock that moves only when told (tests): waits advance it themselves.
  virtual bool isVirtual() const { return false; }
  virtual void advanceMs(std::int64_t) {}
};

class SystemClock final : public Clock {
 public:
  QDateTime localNow() const override;
  QDateTime utcNow() const override;
  std::pair<QDateTime, QDateTime> localAndUtcNow() const override;
  std::int64_t monotonicMs() const override;
  void sleepMs(int ms) override;
  std::int64_t monotonicNs() const override;
  void sleepUntilNs(std::int64_t ns) override;
};

// Time moves only when the test advances it, or by a sleep.
class FakeClock final : public Clock {
 public:
  FakeClock();
  QDateTime localNow() const override { return local_; }
  QDateTime utcNow() const override { return local_.addSecs(-offsetSecs_); }
  std::pair<QDateTime, QDateTime> localAndUtcNow() const override { return {localNow(), utcNow()}; }
  std::int64_t monotonicMs() const override { return mono_; }
  void sleepMs(int ms) override { advanceMs(ms); }
  std::int64_t monotonicNs() const override { return mono_ * 1'000'000 + nsPart_; }
  void sleepUntilNs(std::int64_t ns) override { if (ns > monotonicNs()) advanceNs(ns - monotonicNs()); }
  void advanceNs(std::int64_t ns);
  bool isVirtual() const override { return true; }

  void setLocal(const QDateTime& t) { local_ = t; }
  // The zone's distance from UTC: a zone five hours behind UTC is -5, so that
  // UTC reads local + 5 hours.
  void setZoneOffsetHours(double hoursAheadOfUtc) { offsetSecs_ = static_cast<int>(hoursAheadOfUtc * 3600); }
  void advanceMs(std::int64_t ms) override;
  void setWallClockBack(int secs) { local_ = local_.addSecs(-secs); }  // wall clock only

 private:
  QDateTime local_;
  std::int64_t mono_ = 1'000'000;
  std::int64_t subMs_ = 0;
  std::int64_t nsPart_ = 0;
  int offsetSecs_ = 0;
};

// Plain date-time with no time zone attached, so arithmetic never meets a
// daylight-saving change.
QDateTime plainDateTime(const QDate& d, const QTime& t);

}  // namespace fd
