#include "spots/spotstore.h"

#include "platform/clock.h"

namespace fd {

QDateTime SpotStore::emptyTime() { return plainDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

SpotStore::SpotStore() {
  for (SpotSlot& s : slot) s.time = emptyTime();
}

void SpotStore::add(const QString& call, double mhz, const QDateTime& now) {
  for (int s = 1; s < kSlots; ++s) {
    slot[s - 1].call = slot[s].call;
    slot[s - 1].freq = slot[s].freq;
    slot[s - 1].time = slot[s].time;
    slot[s - 1].prefix = CallPrefix(slot[s - 1].call);
  }
  SpotSlot& top = slot[kSlots - 1];
  top.call = call;
  top.freq = static_cast<float>(mhz);
  top.time = now;
  top.prefix = CallPrefix(call);
  // Slot 0 is left alone: the oldest spot may stand beside a newer one.
  for (int s = kSlots - 2; s >= 1; --s) {
    if (slot[s].call == call) {
      slot[s].freq = 0;
      break;
    }
  }
}

void SpotStore::remove(int index) {
  if (index >= 0 && index < kSlots) slot[index].freq = 0;
}

QString SpotStore::CallPrefix(const QString& call) {
  const int len = static_cast<int>(call.size());
  if (len < 3) return {};
  int slash = 0, lastDigit = 0;
  for (int i = 1; i <= len; ++i) {
    const QChar c = call[i - 1];
    if (c == u'/') slash = i;
    if (c >= u'0' && c <= u'9') lastDigit = i;
  }
  const int end = lastDigit > 0 ? lastDigit : len;
  if (slash == 0) return call.left(end);
  if (slash < len / 2.0 + 1) return call.left(slash - 1);
  // The text behind the slash, at most end-position characters: a label
  // shows a short prefix, and the numeric test reads the same text.
  const QString behind = call.mid(slash, end);
  bool numeric = !behind.isEmpty();
  for (QChar c : behind)
    if (c < u'0' || c > u'9') numeric = false;
  if (!numeric) return behind;
  int firstDigit = 0;
  for (int i = 1; i <= len; ++i)
    if (call[i - 1] >= u'0' && call[i - 1] <= u'9') { firstDigit = i; break; }
  return call.left(firstDigit - 1) + behind;
}

}  // namespace fd
