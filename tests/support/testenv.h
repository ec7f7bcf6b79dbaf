#pragma once
// Shared test fixtures: a temporary program folder, the fake clock, screen
// and scripted dialogs installed in place of the real ones.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <optional>

#include "core/services.h"
#include "core/state.h"
#include "log/logbook.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/registry.h"
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
  MemoryRegistry* registry;  // the per-user settings store, in memory

 private:
  std::unique_ptr<Registry> oldRegistry_;
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

// A short private folder under /tmp for the sockets a test makes: a socket's
// path must fit 107 bytes, whatever $TMPDIR holds. Removed at the end.
class SocketFolder {
 public:
  QString path(const QString& name) const { return dir_.path() + u'/' + name; }

 private:
  QTemporaryDir dir_{QStringLiteral("/tmp/fdsock-XXXXXX")};
};

// Runs a modal hook for the length of a scope and removes it after.
class ScopedModalHook {
 public:
  explicit ScopedModalHook(std::function<void(QWidget*)> hook);
  ~ScopedModalHook();
};

// Sets (or, with nullopt, unsets) an environment variable for the length of a
// scope and puts the old value back after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<QByteArray>& value);
  ~ScopedEnv();

 private:
  QByteArray name_;
  std::optional<QByteArray> old_;
};

// Makes every write past `bytes` in any file fail (as a full disk would) for
// the length of a scope; works for root, which file permissions do not stop.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(long long bytes);
  ~ScopedFileSizeLimit();

 private:
  unsigned long long oldSoft_ = 0;
};

// A log view that records what the log book showed.
class RecordingLogView : public LogView {
 public:
  std::map<int, ColorValue> sectionColor;  // last colour painted per row
  int paints = 0;
  int totalsShown = 0, listsFilled = 0, statsRun = 0;
  int cw = -1, dig = -1, ph = -1, score = -1;
  void paintSection(int row, ColorValue color) override {
    sectionColor[row] = color;
    ++paints;
  }
  void showTotals(int c, int d, int p, int s) override {
    cw = c, dig = d, ph = p, score = s;
    ++totalsShown;
  }
  void fillList() override { ++listsFilled; }
  void timeStats() override { ++statsRun; }
};

// One record line as fdlog.dat holds it.
QByteArray recordLine(const QString& call, const QString& cls, const QString& sec, const QString& date,
                      const QString& time, const QString& band, const QString& mode, const QString& ops = QString(),
                      const QString& freq = QString());

// Runs events (real sockets, real serial ports) until done() holds or ms pass;
// done()'s last answer.
bool pump(const std::function<bool()>& done, int ms = 3000);

// Pastes text through the box's own context menu: the clipboard takes it and
// the menu's Paste runs, found as Qt gives it (by its name where Qt names it,
// else by its text).
void pasteByMenu(KeyBox* box, const QString& text);

// Creates the file when missing and sets its last-change time, as a file
// left by an earlier run shows it.
void touchAt(const QString& path, const QDateTime& when);

}  // namespace fd::test
