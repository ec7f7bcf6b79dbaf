// Safe file writes and the Windows folders mapped to Linux.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <pwd.h>
#include <unistd.h>

#include "platform/folders.h"
#include "platform/safefile.h"
#include "testenv.h"

namespace fd {
namespace {

QByteArray slurp(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("f.dat")});  // no temp file left
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
