// Safe file writes and the Windows folders mapped to Linux.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "platform/folders.h"
#include "platform/safefile.h"
#include "testenv.h"

namespace fd {
namespace {

QByteArray slurp(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file in FOLDER, hidden ones too: the writer's temporary files are.
QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

bool spit(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

mode_t modeOf(const QString& path) {
  struct stat st {};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(FoundSafeFile, AppendStartsANewLineOnlyWhenNeeded) {
  QTemporaryDir dir;
  const QString p = dir.filePath(QStringLiteral("f.dat"));
  ASSERT_TRUE(appendLine(p, "one\r\n").ok);  // created
  ASSERT_TRUE(appendLine(p, "two\r\n").ok);
  EXPECT_EQ(slurp(p), QByteArray("one\r\ntwo\r\n"));
  ASSERT_TRUE(writeWholeFile(p, "cut").ok);
  ASSERT_TRUE(appendLine(p, "three\r\n").ok);
  EXPECT_EQ(slurp(p), QByteArray("cut\r\nthree\r\n"));
  ASSERT_TRUE(writeWholeFile(p, "lf\n").ok);
  ASSERT_TRUE(appendLine(p, "four\r\n").ok);
  EXPECT_EQ(slurp(p), QByteArray("lf\nfour\r\n"));
}

TEST(FoundSafeFile, FailuresSayWhyAndLeaveTheOldFile) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("no folder/f.dat"));
  FileResult r = writeWholeFile(missing, "x");
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
  EXPECT_FALSE(appendLine(missing, "x").ok);
  QByteArray out;
  EXPECT_FALSE(readWholeFile(missing, out).ok);

  const QString p = dir.filePath(QStringLiteral("f.dat"));
  ASSERT_TRUE(writeWholeFile(p, "old contents\r\n").ok);
  {
    test::ScopedFileSizeLimit full(10);
    r = writeWholeFile(p, QByteArray(100, 'n'));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(appendLine(p, QByteArray(100, 'n')).ok);
  }
  EXPECT_EQ(slurp(p), QByteArray("old contents\r\n"));
  EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("f.dat")});  // no temp file left
}

// Root writes through file permissions: its rows run as the user nobody,
// real and effective (access() asks for the real one), root kept as the saved
// user to come back to.
class AsPlainUser {
 public:
  AsPlainUser() {
    if (::geteuid() != 0) return;
    EXPECT_EQ(::setresgid(65534, 65534, 0), 0);
    EXPECT_EQ(::setresuid(65534, 65534, 0), 0);
    switched_ = true;
  }
  ~AsPlainUser() {
    if (!switched_) return;
    EXPECT_EQ(::setresuid(0, 0, 0), 0);
    EXPECT_EQ(::setresgid(0, 0, 0), 0);
  }

 private:
  bool switched_ = false;
};

// What the operator is told when a whole file cannot be written, and that the
// folder is left as it was: the old file whole, no temporary file beside it.
TEST(FoundSafeFile, RefusedWholeFileWritesSayWhyAndLeaveTheFolderAsItWas) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ::chmod(QFile::encodeName(tmp.path()).constData(), 0755);  // reachable for nobody
  struct Row {
    const char* why;
    const char* target;  // in the row's folder
    std::function<void(const QString& folder)> prepare;
    const char* error;  // %1: the target's path
    long long sizeLimit = 0;
  };
  auto oldFile = [](mode_t mode) {
    return [mode](const QString& d) {
      ASSERT_TRUE(spit(d + "/f.dat", "old contents\r\n"));
      ::chmod(QFile::encodeName(d + "/f.dat").constData(), mode);
    };
  };
  const Row rows[] = {
      {"no such folder", "no folder/f.dat", [](const QString&) {}, "No such file or directory"},
      {"a folder of that name", "f.dat",
       [](const QString& d) {
         QDir(d).mkdir("f.dat");
         ::chmod(QFile::encodeName(d + "/f.dat").constData(), 0777);
       },
       "Filename refers to a directory"},
      {"a full disk", "f.dat", oldFile(0666), "File too large", 10},
      {"a read-only file", "f.dat", oldFile(0444), "Existing file %1 is not writable"},
      {"a link to a read-only file", "l.dat",
       [&](const QString& d) {
         oldFile(0444)(d);
         ASSERT_TRUE(QFile::link("f.dat", d + "/l.dat"));
       },
       "Existing file %1 is not writable"},
      {"a read-only folder", "f.dat",
       [&](const QString& d) {
         oldFile(0666)(d);
         ::chmod(QFile::encodeName(d).constData(), 0555);
       },
       "Permission denied"},
  };
  int n = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.why);
    const QString folder = tmp.path() + QStringLiteral("/%1").arg(++n);
    ASSERT_TRUE(QDir().mkpath(folder));
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    r.prepare(folder);
    const QString target = folder + u'/' + QString::fromLatin1(r.target);
    const QStringList before = filesIn(folder);
    const QByteArray old = slurp(folder + "/f.dat");
    FileResult got;
    {
      AsPlainUser user;
      std::optional<test::ScopedFileSizeLimit> limit;
      if (r.sizeLimit) limit.emplace(r.sizeLimit);
      got = writeWholeFile(target, QByteArray(100, 'n'));
    }
    EXPECT_FALSE(got.ok);
    const QString error = QString::fromLatin1(r.error);
    EXPECT_EQ(got.error, error.contains(u'%') ? error.arg(target) : error);
    EXPECT_EQ(slurp(folder + "/f.dat"), old);
    EXPECT_EQ(filesIn(folder), before);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
  }
}

// The folder's view of one whole-file write, from inotify: the temporary file
// made hidden under the writer's own name, given the old file's mode, written
// and renamed over the target. The target is never written in place: a hard
// link to the old file keeps the old contents.
TEST(FoundSafeFile, WholeFileWriteGoesThroughItsOwnTemporaryFileAndARename) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString f = dir.filePath("f.dat"), g = dir.filePath("g.dat");
  ASSERT_TRUE(spit(f, "old contents\r\n"));
  ASSERT_EQ(::chmod(QFile::encodeName(f).constData(), 0640), 0);
  ASSERT_EQ(::link(QFile::encodeName(f).constData(), QFile::encodeName(g).constData()), 0);

  const int in = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(in, 0);
  ASSERT_GE(::inotify_add_watch(in, QFile::encodeName(dir.path()).constData(),
                                IN_CREATE | IN_ATTRIB | IN_MODIFY | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE),
            0);
  ASSERT_TRUE(writeWholeFile(f, "new contents\r\n").ok);
  QStringList seen;
  alignas(inotify_event) char buf[4096];
  const ssize_t len = ::read(in, buf, sizeof buf);
  ::close(in);
  const struct {
    uint32_t mask;
    const char* name;
  } kinds[] = {{IN_CREATE, "create"}, {IN_ATTRIB, "mode"}, {IN_MODIFY, "write"},
               {IN_MOVED_FROM, "rename from"}, {IN_MOVED_TO, "rename to"}, {IN_DELETE, "delete"}};
  const QRegularExpression temporary(QStringLiteral("^\\.f\\.dat\\.saving-[A-Za-z0-9]{6}$"));
  for (ssize_t at = 0; at < len;) {
    const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
    QString name = QString::fromLocal8Bit(e->name);
    if (temporary.match(name).hasMatch()) name = ".f.dat.saving-XXXXXX";
    for (const auto& k : kinds)
      if (e->mask & k.mask) seen << QStringLiteral("%1 %2").arg(QLatin1String(k.name), name);
    at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
  }
  EXPECT_EQ(seen.join(", ").toStdString(),
            "create .f.dat.saving-XXXXXX, mode .f.dat.saving-XXXXXX, write .f.dat.saving-XXXXXX, "
            "rename from .f.dat.saving-XXXXXX, rename to f.dat");
  EXPECT_EQ(slurp(f), "new contents\r\n");
  EXPECT_EQ(slurp(g), "old contents\r\n");
  EXPECT_EQ(modeOf(f), 0640u);
  EXPECT_EQ(filesIn(dir.path()), (QStringList{"f.dat", "g.dat"}));

  // A new file gets the mode the umask gives; a link is followed to its file
  // and stays a link, the temporary file made beside that file.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  ASSERT_TRUE(writeWholeFile(dir.filePath("n.dat"), "n").ok);
  EXPECT_EQ(modeOf(dir.filePath("n.dat")), 0666u & ~mask);
  ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
  ASSERT_TRUE(spit(dir.filePath("real/r.dat"), "old"));
  ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("real/r.dat")).constData(), 0604), 0);
  ASSERT_TRUE(QFile::link("real/r.dat", dir.filePath("l.dat")));
  ASSERT_TRUE(writeWholeFile(dir.filePath("l.dat"), "through the link").ok);
  EXPECT_TRUE(QFileInfo(dir.filePath("l.dat")).isSymLink());
  EXPECT_EQ(slurp(dir.filePath("real/r.dat")), "through the link");
  EXPECT_EQ(modeOf(dir.filePath("real/r.dat")), 0604u);
  EXPECT_EQ(filesIn(dir.path()), (QStringList{"f.dat", "g.dat", "l.dat", "n.dat"}));
  EXPECT_EQ(filesIn(dir.filePath("real")), QStringList{"r.dat"});
}

class FoundFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    root = tmp.path();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("home/documents/varik software")));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("Profile/Documents")));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("xdg")));
  }
  QTemporaryDir tmp;
  QString root;
  test::ScopedEnv home{"HOME", std::nullopt}, profile{"USERPROFILE", std::nullopt}, appData{"APPDATA", std::nullopt},
      xdg{"XDG_CONFIG_HOME", std::nullopt};
};

TEST_F(FoundFolders, ProfileFolder) {
  qputenv("HOME", (root + "/home").toLocal8Bit());
  EXPECT_EQ(folders::profileFolder(), root + "/home");
  qputenv("USERPROFILE", "");  // set but empty: never a path from it
  EXPECT_EQ(folders::profileFolder(), root + "/home");
  // Backslashes become slashes; a folder found with another case keeps the spelling on disk.
  qputenv("USERPROFILE", (QString(root).replace('/', '\\') + "\\PROFILE").toLocal8Bit());
  EXPECT_EQ(folders::profileFolder(), root + "/Profile");

  qunsetenv("USERPROFILE");
  qunsetenv("HOME");
  const passwd* pw = getpwuid(getuid());
  ASSERT_NE(pw, nullptr);
  EXPECT_EQ(folders::profileFolder(), QString::fromLocal8Bit(pw->pw_dir));
}

TEST_F(FoundFolders, AppDataFolder) {
  qputenv("HOME", (root + "/home").toLocal8Bit());
  EXPECT_EQ(folders::appDataFolder(), root + "/home/.config");
  qputenv("XDG_CONFIG_HOME", (root + "/XDG").toLocal8Bit());
  EXPECT_EQ(folders::appDataFolder(), root + "/xdg");
  qputenv("APPDATA", (root + "/home").toLocal8Bit());
  EXPECT_EQ(folders::appDataFolder(), root + "/home");
  qputenv("APPDATA", "");
  EXPECT_EQ(folders::appDataFolder(), root + "/xdg");
}

TEST_F(FoundFolders, MyDocumentsIsTheDocumentsFolder) {
  EXPECT_EQ(folders::localPath(root + "/home\\My Documents\\Varik Software\\Field Day"),
            root + "/home/documents/varik software/Field Day");  // the last one does not exist yet
  EXPECT_EQ(folders::localPath(root + "/Profile/My Documents"), root + "/Profile/Documents");
  EXPECT_TRUE(folders::entryPresent(root + "/HOME/Documents/VARIK SOFTWARE"));
  EXPECT_FALSE(folders::entryPresent(root + "/home/documents/Shared"));
}

}  // namespace
}  // namespace fd
