#pragma once
// The fifty most recent spots of all bands, in memory only. Slot 49 is the
// newest, slot 0 the oldest; a frequency of 0 marks an empty or removed slot
// (0 lies below every band, so every reader skips it).
#include <QDateTime>
#include <QString>
#include <array>

namespace fd {

struct SpotSlot {
  QString call;
  float freq = 0;   // MHz
  QDateTime time;   // local posting time, whole seconds
  QString prefix;
};

class SpotStore {
 public:
  static constexpr int kSlots = 50;
  // An empty slot's time: very old, so its age is never small.
  static QDateTime emptyTime();

  SpotStore();
  std::array<SpotSlot, kSlots> slot;

  // Steps 5 to 7 of a posting: shift down, the new spot into slot 49, the
  // station's most recent earlier spot in slots 48..1 retired.
  void add(const QString& call, double mhz, const QDateTime& now);
  // Removes a spot (a click on a band map).
  void remove(int index);

  static QString CallPrefix(const QString& call);
};

}  // namespace fd
