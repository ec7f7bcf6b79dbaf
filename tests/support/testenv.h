#pragma once
// Shared test fixtures: a temporary program folder, the fake clock, screen
// and scripted dialogs installed in place of the real ones.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/services.h"
#include "app/state.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screen.h"

namespace fd::test {

// Installs fakes for the length of a test and restores the real ones after.
class FakePlatform {
 public:
  FakePlatform();
  ~FakePlatform();
  ScriptedDialogs* dialogs;
  FakeClock* clock;
  FakeScreen* screen;

 private:
  std::unique_ptr<Dialogs> oldDialogs_;
  std::unique_ptr<Clock> oldClock_;
  std::unique_ptr<Screen> oldScreen_;
};

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  QString path(const QString& name) const { return dir.path() + u'/' + name; }
  void writeFile(const QString& name, const QByteArray& bytes) const;
  QByteArray readFile(const QString& name) const;

  QTemporaryDir dir;
  std::unique_ptr<FakePlatform> fake;
  ProgramState state;
};

// One record line as fdlog.dat holds it.
QByteArray recordLine(const QString& call, const QString& cls, const QString& sec, const QString& date,
                      const QString& time, const QString& band, const QString& mode, const QString& ops = QString(),
                      const QString& freq = QString());

}  // namespace fd::test
