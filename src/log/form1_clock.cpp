// The one-second clocks, the contact rates and the hold after a duplicate.
#include "log/datetime.h"
#include "log/form1.h"
#include "log/rates.h"
#include "platform/platform.h"

namespace fd {
namespace {
constexpr std::int64_t kDupeHoldMs = 3000;
constexpr int kHoldStepMs = 20;
}  // namespace

void Form1::Timer1_Timer() { TimeStats(); }

void Form1::Timer2_Timer() {
  const QDateTime local = clock().localNow();
  lblutctime->setText(datetime::addOffset(local, s.UTCOffset).time().toString(QStringLiteral("HH:mm:ss")));
  const QString twelve = local.time().toString(QStringLiteral("h:mm:ss AP"));
  lblCurTime->setText(twelve.left(twelve.size() - 3));
  Label16->setText(local.time().toString(QStringLiteral("AP")));
}

void Form1::TimeStats() {
  const rates::Counts c = rates::count(s.Log, datetime::utcFromLocal(clock(), s.UTCOffset));
  lblAQSO60->setText(QString::number(c.hour));
  lblAQSO20->setText(QString::number(3 * c.twenty));
}

// Holds the program, on purpose and without events, until three seconds after
// the duplicate, so the operator sees the report before typing on. Measured on
// the monotonic clock: a wall clock set back cannot stretch it.
void Form1::DupeHoldDelay(int& keyAscii) {
  const std::int64_t end = s.DupeTime + kDupeHoldMs;
  for (std::int64_t left = end - clock().monotonicMs(); left > 0 && left <= kDupeHoldMs;
       left = end - clock().monotonicMs()) {
    keyAscii = 0;
    clock().sleepMs(static_cast<int>(std::min<std::int64_t>(left, kHoldStepMs)));
  }
  s.DupeFlag = 0;
}

}  // namespace fd
