#include "platform/clock.h"

#include <QElapsedTimer>
#include <QThread>


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

std::int64_t SystemClock::monotonicMs() const {
  static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
  return timer.elapsed();
}

void SystemClock::sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

FakeClock::FakeClock() : local_(plainDateTime(QDate(2024, 6, 22), QTime(18, 0, 0))) {}

void FakeClock::advanceMs(std::int64_t ms) {
  mono_ += ms;
  subMs_ += ms;
  local_ = local_.addSecs(subMs_ / 1000);
  subMs_ %= 1000;
}

}  // namespace fd
