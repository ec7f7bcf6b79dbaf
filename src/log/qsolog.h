#pragma once
// The log in memory: records numbered 1..count(), newest last, at most 14000.
#include <QString>
#include <vector>

namespace fd {

struct QsoRecord {
  QString Call, Class, Section, Date, Time, Band, Mode, Initials, Freq;
  bool operator==(const QsoRecord&) const = default;
};

class QsoLog {
 public:
  static constexpr int kMaxRecords = 14000;

  QsoLog() { records_.reserve(kMaxRecords); }
  int count() const { return static_cast<int>(records_.size()); }
  bool full() const { return count() >= kMaxRecords; }
  QsoRecord& rec(int n) { return records_[static_cast<size_t>(n - 1)]; }
  const QsoRecord& rec(int n) const { return records_[static_cast<size_t>(n - 1)]; }
  // False (nothing added) when the log already holds kMaxRecords.
  bool append(const QsoRecord& r) {
    if (full()) return false;
    records_.push_back(r);
    return true;
  }
  bool append(QsoRecord&& r) {
    if (full()) return false;
    records_.push_back(std::move(r));
    return true;
  }
  void removeLast() {
    if (!records_.empty()) records_.pop_back();
  }
  void remove(int n) { records_.erase(records_.begin() + (n - 1)); }
  void clear() { records_.clear(); }
  const std::vector<QsoRecord>& records() const { return records_; }
  std::vector<QsoRecord>& records() { return records_; }

 private:
  std::vector<QsoRecord> records_;
};

}  // namespace fd
