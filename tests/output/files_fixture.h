#pragma once
// The summary, ASCII-file and printout tests: the output fixture with a
// station, an in-memory settings store and a few log helpers.
#include "output_fixture.h"
#include "platform/registry.h"

namespace fd::test {

inline QsoRecord qso(const QString& call, const QString& band, const QString& mode, const QString& cls = QStringLiteral("1A"),
                     const QString& sec = QStringLiteral("CT"), const QString& date = QStringLiteral("2024/06/22"),
                     const QString& time = QStringLiteral("18:00:00")) {
  return QsoRecord{call, cls, sec, date, time, band, mode, {}, {}};
}

// n contacts with distinct calls spread over the ten call areas.
inline void addMany(QsoLog& log, int n, const QString& band, const QString& mode, const QString& prefix = QStringLiteral("K")) {
  for (int i = 0; i < n; ++i)
    log.append(qso(prefix + QString::number(i % 10) + QStringLiteral("AB") + QString::number(i), band, mode));
}

class FilesTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    state.MyCall = QStringLiteral("W1AW");
    state.MyClass = QStringLiteral("2A");
    state.MySection = QStringLiteral("CT");
    auto r = std::make_unique<MemoryRegistry>();
    reg = r.get();
    oldRegistry = setRegistry(std::move(r));
  }
  void TearDown() override { setRegistry(std::move(oldRegistry)); }
  QString doc(const QString& name) const { return state.FieldDayDir + u'/' + name; }

  MemoryRegistry* reg = nullptr;
  std::unique_ptr<Registry> oldRegistry;
};

}  // namespace fd::test
