// Start-up: the documents folders under a temporary profile, the logo
// window's picture and timings, and the whole start-up sequence.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>

#include "core/sharedprefs.h"
#include "app/startup.h"
#include "log/form1.h"
#include "log/frmstationid.h"
#include "platform/forms.h"
#include "platform/widgets.h"
#include "testenv.h"

namespace fd {
namespace {

// Points USERPROFILE and APPDATA at temporary folders for one test, so no
// test ever touches the real home folder.
class StartFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(profile.isValid() && appData.isValid());
    for (const char* name : {"USERPROFILE", "APPDATA"}) saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    setProfile(profile.path());
    qputenv("APPDATA", appData.path().toLocal8Bit());
  }
  void TearDown() override {
    setModalHook({});
    for (const auto& v : saved) {
      if (v.set) qputenv(v.name, v.value);
      else qunsetenv(v.name);
    }
  }
  static void setProfile(const QString& p) { qputenv("USERPROFILE", p.toLocal8Bit()); }
  QString inProfile(const QString& rel) const { return profile.path() + u'/' + rel; }
  static bool isDir(const QString& p) { return QFileInfo(p).isDir(); }
  static void touch(const QString& p) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QStringList titles() const { return fake.dialogs->titles(); }

  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  QList<Saved> saved;
  QTemporaryDir profile, appData;
  test::FakePlatform fake;
};

TEST_F(StartFolderTest, DocumentsFolderPresentOrMade) {
  struct Case {
    const char* name;
    std::function<void(QDir)> prepare;  // given the profile folder
    const char* documents;  // the documents folder as found on disk afterwards
  };
  const Case cases[] = {
      {"Documents present", [](QDir p) { p.mkdir("Documents"); }, "Documents"},
      {"Documents missing: made silently", [](QDir) {}, "Documents"},
      {"other case kept", [](QDir p) { p.mkpath("documents/VARIK SOFTWARE/field day"); }, "documents"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QDir(profile.path()).removeRecursively();
    QDir().mkpath(profile.path());
    fake.dialogs->clear();
    c.prepare(QDir(profile.path()));
    QString base;
    GetDocumentsFolder(base, "\\Varik Software", "\\Field Day");
    const QString company = inProfile(c.documents) + (QString(c.documents) == "documents" ? "/VARIK SOFTWARE" : "/Varik Software");
    EXPECT_EQ(base, company);
    EXPECT_TRUE(isDir(base + (QString(c.documents) == "documents" ? "/field day" : "/Field Day")));
    EXPECT_EQ(QDir(profile.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{c.documents});
    EXPECT_TRUE(titles().isEmpty()) << titles().join(", ").toStdString();

    // A second run finds everything and makes nothing new.
    GetDocumentsFolder(base, "\\Varik Software", "\\Shared");
    EXPECT_EQ(base, company);
    EXPECT_EQ(QDir(company).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
  }
}

TEST_F(StartFolderTest, AFileCountsAsPresent) {
  // In place of the subfolder: nothing made, nothing said.
  QDir(profile.path()).mkpath("Documents/Varik Software");
  touch(inProfile("Documents/Varik Software/Field Day"));
  QString base;
  GetDocumentsFolder(base, "\\Varik Software", "\\Field Day");
  EXPECT_EQ(base, inProfile("Documents/Varik Software"));
  EXPECT_TRUE(QFileInfo(inProfile("Documents/Varik Software/Field Day")).isFile());
  EXPECT_TRUE(titles().isEmpty());

  // In place of the documents folder: it is taken as found, so the folders
  // beneath it cannot be made, and the operator is told of each.
  QDir(profile.path()).removeRecursively();
  QDir().mkpath(profile.path());
  touch(inProfile("Documents"));
  GetDocumentsFolder(base, "\\Varik Software", "\\Field Day");
  EXPECT_EQ(base, inProfile("Documents/Varik Software"));
  EXPECT_EQ(titles(), QStringList({"Unable to create directory.", "Unable to create directory."}));
  ASSERT_EQ(fake.dialogs->shown.size(), 2);
  EXPECT_TRUE(fake.dialogs->shown[0].text.endsWith("  " + inProfile("Documents/Varik Software")));
  EXPECT_TRUE(QFileInfo(inProfile("Documents")).isFile());
}

TEST_F(StartFolderTest, NoDocumentsFolderPossibleUsesAppData) {
  // Nothing can be made under /proc: the profile copies fail (with a message
  // each) and the folders under APPDATA are the ones used.
  setProfile("/proc/self");
  QString base;
  GetDocumentsFolder(base, "\\Varik Software", "\\Shared");
  EXPECT_EQ(base, appData.path() + "/Varik Software");
  EXPECT_TRUE(isDir(appData.path() + "/Varik Software/Shared"));
  EXPECT_EQ(titles(), QStringList({"Unable to create directory.", "Unable to create directory."}));
}

TEST_F(StartFolderTest, MakeDirectoryReportsOnlyWhenAsked) {
  MakeDirectory("", 1);
  ASSERT_EQ(fake.dialogs->shown.size(), 1);
  EXPECT_EQ(fake.dialogs->shown[0].title, "Unable to Create Directory");
  EXPECT_EQ(fake.dialogs->shown[0].text, "Invalid Path");

  const QString orphan = inProfile("no-parent/child");
  MakeDirectory(orphan, 0);
  EXPECT_EQ(fake.dialogs->shown.size(), 1);
  MakeDirectory(orphan, 1);
  ASSERT_EQ(fake.dialogs->shown.size(), 2);
  EXPECT_EQ(fake.dialogs->shown[1].title, "Unable to create directory.");
  EXPECT_EQ(fake.dialogs->shown[1].text, "Path not found  " + orphan);
  EXPECT_FALSE(QFileInfo::exists(orphan));

  MakeDirectory(inProfile("made"), 1);
  EXPECT_TRUE(isDir(inProfile("made")));
}

TEST_F(StartFolderTest, LogoWindowPictureAndTimings) {
  const QString shared = inProfile("Documents/Varik Software/Shared");
  struct Case {
    const char* name;
    std::function<void()> splash;  // puts (or not) a splash.jpg in the Shared folder
    bool userPicture;
  };
  const Case cases[] = {
      {"no splash.jpg", [] {}, false},
      {"unreadable splash.jpg keeps the built-in logo", [&] {
         QFile f(shared + "/splash.jpg");
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.write("not a picture");
       }, false},
      {"a real splash.jpg", [&] {
         QImage img(64, 48, QImage::Format_RGB32);
         img.fill(Qt::darkGreen);
         ASSERT_TRUE(img.save(shared + "/splash.jpg", "JPG"));
       }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QDir(shared).mkpath(".");
    QFile::remove(shared + "/splash.jpg");
    c.splash();
    frmVarikLogo logo;
    EXPECT_EQ(logo.showsUserPicture(), c.userPicture);
    EXPECT_TRUE(logo.Timer1.isActive());
    EXPECT_EQ(logo.Timer1.interval(), c.userPicture ? 2700 : 1900);
    EXPECT_EQ(logo.Timer2.isActive(), !c.userPicture);
    EXPECT_EQ(logo.Timer2.interval(), 1100);
    EXPECT_FALSE(logo.Image1->pixmap().isNull());

    logo.show();
    logo.Timer2_Timer();
    EXPECT_FALSE(logo.Image2->isHidden());
    logo.Image1_Click();
    EXPECT_FALSE(logo.isVisible());
    EXPECT_FALSE(logo.Timer1.isActive());
  }
  // The logo window's own folder search made the company and Shared folders.
  EXPECT_TRUE(isDir(shared));
}

// Whether the program may start its window system or must say in its own
// line that there is no display (Qt would abort with its own lines).
TEST(StartDisplay, ReachableOnlyWithTheDisplayThePlatformNeeds) {
  const struct {
    const char* platform;
    bool display, wayland, reachable;
  } rows[] = {
      {"", false, false, false},       {"", true, false, true},           {"", false, true, true},
      {"xcb", false, false, false},    {"xcb", false, true, false},       {"xcb", true, false, true},
      {"xcb:nograb", false, false, false},
      {"wayland", false, false, false}, {"wayland-egl", false, true, true}, {"wayland;xcb", true, false, true},
      {"wayland;xcb", false, false, false},
      {"offscreen", false, false, true}, {"offscreen:configfile=/tmp/s.json", false, false, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.platform);
    EXPECT_EQ(displayReachable(QString::fromLatin1(r.platform), r.display, r.wayland), r.reachable)
        << "display " << r.display << " wayland " << r.wayland;
  }
}

TEST_F(StartFolderTest, StartUpSequenceOpensTheLoadedMainWindow) {
  QTemporaryDir prog;
  ASSERT_TRUE(prog.isValid());
  const QString progDir = QDir(prog.path()).canonicalPath();
  {
    QFile pref(progDir + "/fdpref.dat");
    ASSERT_TRUE(pref.open(QIODevice::WriteOnly));
    pref.write("\"W1AW\"\r\n\"2A\"\r\n\"CT\"\r\n0\r\n\"CW\"\r\n\"20\"\r\n255\r\n0\r\n100\r\n0\r\n\"None\"\r\n0\r\n0\r\n"
               "\"AB\"\r\n0\r\n0\r\n\"\"\r\n");
    QFile log(progDir + "/fdlog.dat");
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(test::recordLine("K1ABC", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB"));
  }
  QDir(profile.path()).mkpath("Documents/Varik Software/Shared");
  QFile xml(inProfile("Documents/Varik Software/Shared/SharedUserPreferences.xml"));
  ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
  xml.write("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_EMAIL>a@b</OWN_EMAIL>\r\n");
  xml.close();
  // What a whole-file write killed in an earlier run left beside its target
  // goes when over a minute old by the program's clock; every other name
  // stays, above all an operator's own copies of the log.
  enum Kind { File, Link, Folder };
  struct Leftover {
    const char* why;
    QString path;
    int ageSecs;
    bool stays;
    Kind kind = File;
    QByteArray contents = {};
  };
  QDir(profile.path()).mkpath("Documents/Varik Software/Field Day");
  const QString docs = inProfile("Documents/Varik Software/");
  const QString fd = docs + "Field Day/", shared = docs + "Shared/", pd = progDir + u'/';
  const QByteArray part = test::recordLine("K1ABC", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW").left(20);
  const Leftover leftovers[] = {
      {"an operator's copy before the contest", pd + "fdlog.dat.backup", 3600, true},
      {"an operator's copy", pd + "fdpref.dat.before", 3600, true},
      {"an operator's copy", pd + "cw.txt.sunday", 3600, true},
      {"an operator's copy", pd + "fdlog.dat.OLDLOG", 3600, true},
      {"an operator's copy", pd + "fdlog.dat.bak", 3600, true},
      {"an operator's copy", pd + "fdlog.dat.2024", 3600, true},
      {"an operator's copy", pd + "fdlog.dat.BACKUP", 3600, true},
      {"an operator's copy", pd + "fdlog.dat.copy01", 3600, true},
      {"an older writer's name: not told from an operator's", pd + "fdlog.dat.AbCdEf", 3600, true},
      {"an older writer's name", fd + "WK.txt.xYzAbC", 3600, true},
      {"an older writer's name", shared + "SharedUserPreferences.xml.AbCdEf", 3600, true},
      {"the target of the link below", pd + "mine.dat", 3600, true},
      {"a link, even under the writer's name", pd + ".fdlog.dat.saving-Lk12Ab", 3600, true, Link},
      {"a folder under the writer's name", pd + ".fdpref.dat.saving-Fo12Ld", 3600, true, Folder},
      {"another copy's write in progress", pd + ".cw.txt.saving-QwErTy", 30, true},
      {"exactly a minute old", pd + ".fdlog.dat.saving-Mn60Ab", 60, true},
      {"not a file the program writes", pd + ".notes.txt.saving-Ab12Cd", 3600, true},
      {"not a file the program writes", shared + ".splash.jpg.saving-AbCdEf", 3600, true},
      {"the Field Day folder's file in the program folder", pd + ".WK.txt.saving-Ab12Cd", 3600, true},
      {"five characters", pd + ".fdlog.dat.saving-Ab12C", 3600, true},
      {"seven characters", pd + ".fdlog.dat.saving-Ab12Cde", 3600, true},
      {"not a letter or digit", pd + ".fdlog.dat.saving-Ab_2Cd", 3600, true},
      {"not hidden", pd + "fdlog.dat.saving-Ab12Cd", 3600, true},
      {"killed right after the create: empty", pd + ".fdlog.dat.saving-a1B2c3", 61, false},
      {"killed in the write: a part", pd + ".fdlog.dat.saving-Zz9900", 120, false, File, part},
      {"killed before the rename: whole", pd + ".fdpref.dat.saving-000000", 3600, false, File, "\"W1AW\"\r\n"},
      {"killed in the write", pd + ".LogBkUp.dat.saving-AAAAAA", 3600, false, File, part},
      {"the Field Day folder's own", fd + ".WK.txt.saving-xYzAbC", 61, false, File, "\"10\"\r\n"},
      {"the Shared folder's own", shared + ".SharedUserPreferences.xml.saving-AbCdEf", 3600, false, File, "<?xml"},
  };
  for (const Leftover& l : leftovers) {
    const QDateTime when = fake.clock->utcNow().addSecs(-l.ageSecs);
    if (l.kind == File) {
      QFile f(l.path);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(l.contents);
      f.close();
      test::touchAt(l.path, when);
      continue;
    }
    if (l.kind == Folder) ASSERT_TRUE(QDir().mkpath(l.path));
    else ASSERT_TRUE(QFile::link("mine.dat", l.path));
    // Its own time, as lstat shows it, as old as the row says.
    const timespec times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(l.path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
  }

  const QString startDir = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(progDir));
  QStringList windows;
  setModalHook([&](QWidget* w) {
    if (auto* logo = qobject_cast<frmVarikLogo*>(w)) {
      windows << "logo";
      // The sequence moves on only when the logo window goes.
      QDir::setCurrent(QDir::tempPath());
      logo->Image1_Click();
    } else if (auto* station = qobject_cast<frmStationID*>(w)) {
      windows << "station:" + station->Text1->text();
      station->Command1_Click();
    } else {
      ADD_FAILURE() << "unexpected window " << w->windowTitle().toStdString();
    }
  });
  ProgramState s;
  Services sv;
  std::unique_ptr<Form1> form = frmSplash_Load(s, sv);
  const QString endDir = QDir::currentPath();
  QDir::setCurrent(startDir);

  EXPECT_EQ(windows, QStringList({"logo", "station:W1AW"}));
  EXPECT_EQ(s.ProgDir, progDir);
  // The logo window left the current folder elsewhere: the program folder is
  // still the one the program started in, and its files are read from there.
  EXPECT_EQ(endDir, QDir(QDir::tempPath()).canonicalPath());
  EXPECT_EQ(s.FieldDayDir, inProfile("Documents/Varik Software/Field Day"));
  EXPECT_EQ(s.SharedDir, inProfile("Documents/Varik Software/Shared"));
  EXPECT_TRUE(isDir(s.FieldDayDir));
  EXPECT_EQ(s.PrefsPath, s.SharedDir + "/SharedUserPreferences.xml");
  EXPECT_EQ(s.PrefsXml, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_EMAIL>a@b</OWN_EMAIL>");
  ASSERT_TRUE(form);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(s.QsoCount(), 1);
  EXPECT_EQ(s.CurBand, "20");
  for (const Leftover& l : leftovers)
    EXPECT_EQ(QFileInfo(l.path).exists() || QFileInfo(l.path).isSymLink(), l.stays)
        << l.why << ": " << l.path.toStdString();
  form->close();
}

}  // namespace
}  // namespace fd
