// fdpref.dat: the seventeen values written and read back, damaged files, and
// a preferences writer that cannot write.
#include <QLocale>

#include "core/prefs.h"
#include "platform/cp1252.h"
#include "testenv.h"

namespace fd {
namespace {

class FoundPrefs : public test::ProgramFolderTest {
 protected:
  static void fill(ProgramState& s) {
    s.MyCall = "W1AW";
    s.MyClass = "2A";
    s.MySection = "";  // empty texts are two double quotes
    s.UTCOffset = -3.5f;
    s.CurMode = "CW";
    s.CurBand = "1.25";
    s.WorkedColor = 16777215;
    s.RemainingColor = 255;
    s.FormSizePct = 75;
    s.VoiceNavMode = 2;
    s.RigType = "None";
    s.TaskbarOn = 1;
    s.ListPrevOn = 1;
    s.OpInitials = QString::fromUtf8("J\u00c9");  // É: byte 0xC9 in the file
    s.BackupPermanent = 1;
    s.BackupOther = 0;
    s.BackupOtherDir = "/media/usb,stick/bak";
  }
  static constexpr const char* kFile =
      "\"W1AW\"\r\n\"2A\"\r\n\"\"\r\n-3.5\r\n\"CW\"\r\n\"1.25\"\r\n16777215\r\n255\r\n75\r\n2\r\n\"None\"\r\n1\r\n1\r\n"
      "\"J\xc9\"\r\n1\r\n0\r\n\"/media/usb,stick/bak\"\r\n";
};

TEST_F(FoundPrefs, WrittenAndReadBackByteForByte) {
  fill(state);
  ASSERT_TRUE(prefs::SavePref(state));
  EXPECT_EQ(readFile("fdpref.dat"), QByteArray(kFile));
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());

  ProgramState back;
  back.ProgDir = state.ProgDir;
  const auto r = prefs::read(path("fdpref.dat"), back);
  EXPECT_TRUE(r.opened);
  EXPECT_EQ(r.values, 17);
  EXPECT_EQ(back.MyCall, state.MyCall);
  EXPECT_EQ(back.MySection, QString());
  EXPECT_EQ(back.UTCOffset, -3.5f);
  EXPECT_EQ(back.CurBand, QStringLiteral("1.25"));
  EXPECT_EQ(back.WorkedColor, 16777215);
  EXPECT_EQ(back.FormSizePct, 75);
  EXPECT_EQ(back.OpInitials, state.OpInitials);
  EXPECT_EQ(back.BackupOtherDir, QStringLiteral("/media/usb,stick/bak"));
  // Written again from what was read: the same bytes.
  EXPECT_EQ(prefs::format(back), QByteArray(kFile));
}

TEST_F(FoundPrefs, NumbersIgnoreTheDesktopLocale) {
  const QLocale old;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  state.UTCOffset = 5.5f;
  const QByteArray out = prefs::format(state);
  QLocale::setDefault(old);
  EXPECT_TRUE(out.contains("\r\n5.5\r\n")) << out.constData();
}

TEST_F(FoundPrefs, ReadTable) {
  const QByteArray whole(kFile);
  struct Case {
    const char* name;
    QByteArray text;
    int values;
    std::function<void(const ProgramState&)> check;
  };
  auto replaceLine = [&](int line, const QByteArray& with) {
    QList<QByteArray> l = whole.split('\n');
    l[line - 1] = with + "\r";
    return l.join('\n');
  };
  const Case cases[] = {
      {"LF-only lines and a trailing blank line", QByteArray(whole).replace("\r\n", "\n") + "\n", 17,
       [](const ProgramState& s) {
         EXPECT_EQ(s.BackupOtherDir, QStringLiteral("/media/usb,stick/bak"));
         EXPECT_EQ(s.CurMode, QStringLiteral("CW"));
       }},
      {"lines after the seventeenth", whole + "\"extra\"\r\n99\r\n", 17,
       [](const ProgramState& s) { EXPECT_EQ(s.BackupOtherDir, QStringLiteral("/media/usb,stick/bak")); }},
      {"ten lines", whole.left(whole.indexOf("\"None\"")), 10,
       [](const ProgramState& s) {
         EXPECT_EQ(s.VoiceNavMode, 2);
         EXPECT_EQ(s.RigType, QString());
         EXPECT_EQ(s.OpInitials, QString());
         EXPECT_EQ(s.TaskbarOn, 0);
       }},
      {"colour beyond range", replaceLine(7, "16777216"), 17,
       [](const ProgramState& s) {
         EXPECT_EQ(s.WorkedColor, 0);
         EXPECT_EQ(s.RemainingColor, 255);
       }},
      {"colour no number", replaceLine(8, "red"), 17, [](const ProgramState& s) { EXPECT_EQ(s.RemainingColor, 0); }},
      {"byte above 255", replaceLine(9, "256"), 17,
       [](const ProgramState& s) {
         EXPECT_EQ(s.FormSizePct, 100);
         EXPECT_EQ(s.VoiceNavMode, 2);
       }},
      {"negative byte", replaceLine(12, "-1"), 17, [](const ProgramState& s) { EXPECT_EQ(s.TaskbarOn, 0); }},
      {"offset no number", replaceLine(4, "five"), 17, [](const ProgramState& s) { EXPECT_EQ(s.UTCOffset, 0.0f); }},
      {"offset beyond a single", replaceLine(4, "1e40"), 17, [](const ProgramState& s) { EXPECT_EQ(s.UTCOffset, 0.0f); }},
      // Which offsets make sense is the station setup's rule, not the reader's.
      {"large offset", replaceLine(4, "30"), 17, [](const ProgramState& s) { EXPECT_EQ(s.UTCOffset, 30.0f); }},
      {"fractional offset", replaceLine(4, "5.75"), 17, [](const ProgramState& s) { EXPECT_EQ(s.UTCOffset, 5.75f); }},
      {"bare text", replaceLine(1, "K2XYZ"), 17, [](const ProgramState& s) { EXPECT_EQ(s.MyCall, QStringLiteral("K2XYZ")); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramState s;
    s.FormSizePct = 42;  // a value held before the read is replaced even when the line is bad
    EXPECT_EQ(prefs::parse(c.text, s), c.values);
    c.check(s);
  }
}

TEST_F(FoundPrefs, MissingFileLeavesTheStartValues) {
  const auto r = prefs::read(path("fdpref.dat"), state);
  EXPECT_FALSE(r.opened);
  EXPECT_EQ(state.CurBand, QStringLiteral("40"));
  EXPECT_EQ(state.CurMode, QStringLiteral("PH"));
  EXPECT_EQ(state.FormSizePct, 100);
  EXPECT_EQ(state.PartialOn, 1);
  EXPECT_EQ(state.QsoCount(), 0);
}

TEST_F(FoundPrefs, FailingSaveShowsOneMessageUntilASaveSucceeds) {
  const QString good = state.ProgDir;
  state.ProgDir = good + QStringLiteral("/no such folder");
  EXPECT_FALSE(prefs::SavePref(state));
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_TRUE(fake->dialogs->shown[0].text.contains(QStringLiteral("no such folder/fdpref.dat")));
  EXPECT_FALSE(prefs::SavePref(state));
  EXPECT_FALSE(prefs::SavePref(state));
  EXPECT_EQ(fake->dialogs->shown.size(), 1);

  state.ProgDir = good;
  EXPECT_TRUE(prefs::SavePref(state));
  EXPECT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_FALSE(readFile("fdpref.dat").isEmpty());

  state.ProgDir = good + QStringLiteral("/no such folder");
  EXPECT_FALSE(prefs::SavePref(state));
  EXPECT_EQ(fake->dialogs->shown.size(), 2);
}

TEST_F(FoundPrefs, FailedSaveLeavesTheOldFileWhole) {
  fill(state);
  ASSERT_TRUE(prefs::SavePref(state));
  state.MyCall = "K9LONGERCALL";
  {
    test::ScopedFileSizeLimit full(20);
    EXPECT_FALSE(prefs::SavePref(state));
  }
  EXPECT_EQ(readFile("fdpref.dat"), QByteArray(kFile));
  EXPECT_EQ(fake->dialogs->shown.size(), 1);
}

}  // namespace
}  // namespace fd
