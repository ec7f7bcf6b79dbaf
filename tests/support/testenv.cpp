#include "testenv.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QThread>
#include <csignal>
#include <sys/resource.h>

#include "platform/cp1252.h"
#include "platform/forms.h"
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
  auto r = std::make_unique<MemoryRegistry>();
  registry = r.get();
  oldRegistry_ = setRegistry(std::move(r));
}

FakePlatform::~FakePlatform() {
  setRegistry(std::move(oldRegistry_));
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

ScopedModalHook::ScopedModalHook(std::function<void(QWidget*)> hook) { setModalHook(std::move(hook)); }
ScopedModalHook::~ScopedModalHook() { setModalHook({}); }

ScopedEnv::ScopedEnv(const char* name, const std::optional<QByteArray>& value) : name_(name) {
  if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
  if (value) qputenv(name, *value);
  else qunsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (old_) qputenv(name_.constData(), *old_);
  else qunsetenv(name_.constData());
}

ScopedFileSizeLimit::ScopedFileSizeLimit(long long bytes) {
  // The signal is left as it is: the program's own write layer must keep a
  // write past the limit from killing it.
  rlimit lim{};
  getrlimit(RLIMIT_FSIZE, &lim);
  oldSoft_ = lim.rlim_cur;
  lim.rlim_cur = static_cast<rlim_t>(bytes);
  setrlimit(RLIMIT_FSIZE, &lim);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
  rlimit lim{};
  getrlimit(RLIMIT_FSIZE, &lim);
  lim.rlim_cur = static_cast<rlim_t>(oldSoft_);
  setrlimit(RLIMIT_FSIZE, &lim);
}

QByteArray recordLine(const QString& call, const QString& cls, const QString& sec, const QString& date,
                      const QString& time, const QString& band, const QString& mode, const QString& ops,
                      const QString& freq) {
  return cp1252::encode(QStringLiteral("\"%1\",\"%2\",\"%3\",\"%4\",\"%5\",\"%6\",\"%7\",\"%8\",\"%9\",\"\"\r\n")
                            .arg(call, cls, sec, date, time, band, mode, ops, freq));
}

bool pump(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return done();
}

void touchAt(const QString& path, const QDateTime& when) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite)) << path.toStdString();
  ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime)) << path.toStdString();
}

void pasteByMenu(KeyBox* box, const QString& text) {
  QApplication::clipboard()->setText(text);
  std::unique_ptr<QMenu> menu(box->createContextMenu());
  QAction* paste = nullptr;
  for (QAction* a : menu->actions())
    if (a->objectName() == QLatin1String("edit-paste") || a->text().startsWith(QLatin1String("&Paste"))) paste = a;
  ASSERT_NE(paste, nullptr) << "the context menu has no Paste";
  ASSERT_TRUE(paste->isEnabled());
  paste->trigger();
}

}  // namespace fd::test
