#include "testenv.h"

#include <QFile>

#include "platform/platform.h"

namespace fd::test {

FakePlatform::FakePlatform() {
  auto d = std::make_unique<ScriptedDialogs>();
  auto c = std::make_unique<FakeClock>();
  auto s = std::make_unique<FakeScreen>();
  dialogs = d.get();
  clock = c.get();
  screen = s.get();
  dialogs->onUnscripted = [](const QString& what) { ADD_FAILURE() << "unscripted " << what.toStdString(); };
  oldDialogs_ = std::exchange(platform().dialogs, std::move(d));
  oldClock_ = std::exchange(platform().clock, std::move(c));
  oldScreen_ = std::exchange(platform().screen, std::move(s));
}

FakePlatform::~FakePlatform() {
  platform().dialogs = std::move(oldDialogs_);
  platform().clock = std::move(oldClock_);
  platform().screen = std::move(oldScreen_);
}

void ProgramFolderTest::SetUp() {
  ASSERT_TRUE(dir.isValid());
  fake = std::make_unique<FakePlatform>();
  state.ProgDir = dir.path();
  state.ProgDrive = state.ProgDir.left(1);
  fillSectionTable(state);
}

void ProgramFolderTest::writeFile(const QString& name, const QByteArray& bytes) const {
  QFile f(path(name));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray ProgramFolderTest::readFile(const QString& name) const {
  QFile f(path(name));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QByteArray recordLine(const QString& call, const QString& cls, const QString& sec, const QString& date,
                      const QString& time, const QString& band, const QString& mode, const QString& ops,
                      const QString& freq) {
  return QStringLiteral("\"%1\",\"%2\",\"%3\",\"%4\",\"%5\",\"%6\",\"%7\",\"%8\",\"%9\",\"\"\r\n")
      .arg(call, cls, sec, date, time, band, mode, ops, freq)
      .toLatin1();
}

}  // namespace fd::test
