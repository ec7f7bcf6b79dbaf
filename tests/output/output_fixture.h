#pragma once
// What the output tests share: a program folder with a documents folder, an
// in-memory settings store, a recording main window and the service.
#include <QDir>

#include "fakemainwindow.h"
#include "output/outputservice.h"
#include "platform/registry.h"
#include "testenv.h"

namespace fd::test {

inline QsoRecord qso(const QString& call, const QString& band, const QString& mode, const QString& cls = QStringLiteral("1A"),
                     const QString& sec = QStringLiteral("CT"), const QString& date = QStringLiteral("2024/06/22"),
                     const QString& time = QStringLiteral("18:00:00")) {
  QsoRecord r;
  r.Call = call, r.Class = cls, r.Section = sec, r.Date = date, r.Time = time, r.Band = band, r.Mode = mode;
  return r;
}

inline void addMany(QsoLog& log, int n, const QString& band, const QString& mode, const QString& prefix = QStringLiteral("K")) {
  for (int i = 0; i < n; ++i) log.append(qso(prefix + QString::number(i % 10) + QStringLiteral("AB") + QString::number(i), band, mode));
}

class OutputTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    QDir(dir.path()).mkpath(QStringLiteral("docs"));
    state.FieldDayDir = path(QStringLiteral("docs"));
    state.MyCall = QStringLiteral("W1AW");
    state.MyClass = QStringLiteral("2A");
    state.MySection = QStringLiteral("CT");
    auto r = std::make_unique<MemoryRegistry>();
    reg = r.get();
    oldRegistry = setRegistry(std::move(r));
    main = std::make_unique<FakeMainWindow>(&state);
    svc = std::make_unique<OutputService>(state);
    svc->attach(*main);
  }
  void TearDown() override { setRegistry(std::move(oldRegistry)); }
  QString doc(const QString& name) const { return state.FieldDayDir + u'/' + name; }

  MemoryRegistry* reg = nullptr;
  std::unique_ptr<Registry> oldRegistry;
  std::unique_ptr<FakeMainWindow> main;
  std::unique_ptr<OutputService> svc;
};

}  // namespace fd::test
