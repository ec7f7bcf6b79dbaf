// The one-second clocks, the contact rates and the hold after a duplicate.
#include "log/datetime.h"
#include "log/form1.h"
#include "log/rates.h"
#include "platform/platform.h"
#include "platform/wait.h"

namespace fd {
namespace {
constexpr std::int64_t kDupeHoldMs = 3000;
constexpr int kHoldStepMs = 20;
int holdSite;  // the hold cannot start again from an event inside itself
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

// Holds typing until three seconds after the duplicate, so the operator sees
// the report before typing on. The report is painted and the clocks and
// timers run meanwhile; typed keys wait. Measured on the monotonic clock: a
// wall clock set back cannot stretch it.
void Form1::DupeHoldDelay(int& keyAscii) {
  const std::int64_t end = s.DupeTime + kDupeHoldMs;
  const std::int64_t left = end - clock().monotonicMs();
  if (left > 0 && left <= kDupeHoldMs) {
    keyAscii = 0;
    waitUntil([end] { return clock().monotonicMs() >= end; },
              {left, WaitInput::Hold, &holdSite, kHoldStepMs});
  }
  s.DupeFlag = 0;
}

}  // namespace fd
