// The shared XML preferences: what reaches the disk, byte for byte, and the
// file-name stem of the own call.
#include <QFile>

#include "core/sharedprefs.h"
#include "testenv.h"

namespace fd {
namespace {

const QByteArray kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

class StartSharedPrefsTest : public test::ProgramFolderTest {
 protected:
  QString xmlPath() const { return path("SharedUserPreferences.xml"); }
  QByteArray xmlBytes() const { return readFile("SharedUserPreferences.xml"); }
};

TEST_F(StartSharedPrefsTest, NoFileThenElementsSetAndReplaced) {
  ReadSharedPrefs(state, xmlPath());
  EXPECT_EQ(state.PrefsXml, QString::fromLatin1(kDecl));
  EXPECT_FALSE(QFile::exists(xmlPath()));  // nothing written by the read

  ASSERT_TRUE(SetPrefTag(state, "OWN_ADDRESS_Line1", "12 Elm St", 1).ok);
  EXPECT_EQ(xmlBytes(), kDecl + "\r\n<OWN_ADDRESS_LINE1>12 Elm St</OWN_ADDRESS_LINE1>\r\n");

  // Save 0 only changes memory; the next save 1 writes everything so far,
  // and an element changed again keeps its place.
  SetPrefTag(state, "own_email", "", 0);
  SetPrefTag(state, "OWN_ADDRESS_LINE1", "9 Oak Rd", 0);
  EXPECT_EQ(xmlBytes(), kDecl + "\r\n<OWN_ADDRESS_LINE1>12 Elm St</OWN_ADDRESS_LINE1>\r\n");
  ASSERT_TRUE(SetPrefTag(state, "OWN_EMAIL", "me@example.org", 1).ok);
  EXPECT_EQ(xmlBytes(), kDecl +
                            "\r\n<OWN_ADDRESS_LINE1>9 Oak Rd</OWN_ADDRESS_LINE1>"
                            "\r\n<OWN_EMAIL>me@example.org</OWN_EMAIL>\r\n");
}

TEST_F(StartSharedPrefsTest, OtherProgramsTextSurvivesReadAndRewrite) {
  // Elements of another program, a lower-case element, a blank line, bytes
  // above 127, and unescaped markup in a value.
  const QByteArray other = kDecl +
                           "\r\n<OTHER_PROG>x & <y></OTHER_PROG>"
                           "\r\n"
                           "\r\n<own_club_name>lower</own_club_name>"
                           "\r\n<OWN_CLUB_NAME>Old Club</OWN_CLUB_NAME>"
                           "\r\n<NOTE>Caf\xe9 \x80</NOTE>";
  struct Case {
    const char* name;
    QByteArray onDisk;      // as another program left it
    QByteArray afterWrite;  // after changing OWN_CLUB_NAME and adding OWN_EMAIL
  };
  const QByteArray changed = QByteArray(other).replace("Old Club", "New Club") + "\r\n<OWN_EMAIL>e</OWN_EMAIL>";
  const Case cases[] = {
      {"our own line end", other + "\r\n", changed + "\r\n"},
      {"no final line end", other, changed + "\r\n"},
      {"LF line end", other + "\n", changed + "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("SharedUserPreferences.xml", c.onDisk);
    ReadSharedPrefs(state, xmlPath());
    ASSERT_TRUE(WriteSharedPrefs(state, xmlPath()).ok);
    EXPECT_EQ(xmlBytes(), other + "\r\n");  // unchanged text survives whole

    SetPrefTag(state, "own_club_name", "New Club", 0);
    ASSERT_TRUE(SetPrefTag(state, "OWN_EMAIL", "e", 1).ok);
    EXPECT_EQ(xmlBytes(), c.afterWrite);
  }
}

TEST_F(StartSharedPrefsTest, DamagedFilesLoseNothingOfOthers) {
  struct Case {
    const char* name;
    QByteArray onDisk;
    QByteArray afterWrite;  // after setting OWN_EMAIL to "new"
  };
  const Case cases[] = {
      {"empty file starts from the declaration", "", kDecl + "\r\n<OWN_EMAIL>new</OWN_EMAIL>\r\n"},
      {"one byte is content, not a line end", "x", "x\r\n<OWN_EMAIL>new</OWN_EMAIL>\r\n"},
      {"opening tag without its closing tag", kDecl + "\r\n<OWN_EMAIL>old\r\n<B>b</B>\r\n",
       kDecl + "\r\n<OWN_EMAIL>new</OWN_EMAIL>\r\n<B>b</B>\r\n"},
      {"empty value replaced", kDecl + "\r\n<OWN_EMAIL></OWN_EMAIL>\r\n", kDecl + "\r\n<OWN_EMAIL>new</OWN_EMAIL>\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("SharedUserPreferences.xml", c.onDisk);
    ReadSharedPrefs(state, xmlPath());
    ASSERT_TRUE(SetPrefTag(state, "OWN_EMAIL", "new", 1).ok);
    EXPECT_EQ(xmlBytes(), c.afterWrite);
  }
}

// Our element is the one that opens a line (after any blanks); its value
// ends at the last closing tag on that line. The same tag's text anywhere
// else is another program's, or a value, and stays.
TEST_F(StartSharedPrefsTest, OnlyALineOpeningWithTheTagIsTheElement) {
  struct Case {
    const char* name;
    QByteArray onDisk;  // after the declaration line
    QString value;
    QByteArray afterWrite;
  };
  const Case cases[] = {
      {"the tag inside another element's value", "<NOTE>see <OWN_EMAIL>x</OWN_EMAIL></NOTE>\r\n<OWN_EMAIL>old</OWN_EMAIL>",
       "new", "<NOTE>see <OWN_EMAIL>x</OWN_EMAIL></NOTE>\r\n<OWN_EMAIL>new</OWN_EMAIL>"},
      {"the tag only inside a value", "<OWN_ADDRESS_NAME>Ann <OWN_EMAIL>e</OWN_EMAIL></OWN_ADDRESS_NAME>", "new",
       "<OWN_ADDRESS_NAME>Ann <OWN_EMAIL>e</OWN_EMAIL></OWN_ADDRESS_NAME>\r\n<OWN_EMAIL>new</OWN_EMAIL>"},
      {"indented by blanks", "<A>a</A>\r\n  \t<OWN_EMAIL>old</OWN_EMAIL>\r\n<B>b</B>", "new",
       "<A>a</A>\r\n  \t<OWN_EMAIL>new</OWN_EMAIL>\r\n<B>b</B>"},
      {"a value that holds its closing tag", "<OWN_EMAIL>a</OWN_EMAIL>b</OWN_EMAIL>\r\n<B>b</OWN_EMAIL></B>", "new",
       "<OWN_EMAIL>new</OWN_EMAIL>\r\n<B>b</OWN_EMAIL></B>"},
      {"LF line ends", "<A>a</A>\n<OWN_EMAIL>old</OWN_EMAIL>\n<B>b</B>", "new",
       "<A>a</A>\n<OWN_EMAIL>new</OWN_EMAIL>\n<B>b</B>"},
      {"markup and line ends left out of the value", "<OWN_EMAIL>old</OWN_EMAIL>",
       QStringLiteral("<a> & \"b\"\r\n</OWN_EMAIL>\u00e9"), "<OWN_EMAIL>a & \"b\"/OWN_EMAIL\xe9</OWN_EMAIL>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("SharedUserPreferences.xml", kDecl + "\r\n" + c.onDisk + "\r\n");
    ReadSharedPrefs(state, xmlPath());
    ASSERT_TRUE(SetPrefTag(state, "OWN_EMAIL", c.value, 1).ok);
    EXPECT_EQ(xmlBytes().toStdString(), (kDecl + "\r\n" + c.afterWrite + "\r\n").toStdString());
  }
  // An element on the declaration's own line is found there.
  writeFile("SharedUserPreferences.xml", kDecl + "<OWN_EMAIL>old</OWN_EMAIL>\r\n");
  ReadSharedPrefs(state, xmlPath());
  ASSERT_TRUE(SetPrefTag(state, "OWN_EMAIL", "new", 1).ok);
  EXPECT_EQ(xmlBytes().toStdString(), (kDecl + "<OWN_EMAIL>new</OWN_EMAIL>\r\n").toStdString());
}

TEST_F(StartSharedPrefsTest, WriteFailureIsReportedAndMemoryKept) {
  ReadSharedPrefs(state, path("missing-folder/SharedUserPreferences.xml"));
  const FileResult r = SetPrefTag(state, "OWN_EMAIL", "e", 1);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
  EXPECT_TRUE(state.PrefsXml.endsWith("<OWN_EMAIL>e</OWN_EMAIL>"));
}

TEST(StartCallToFileStem, LeadingDigitsAndCapitalsOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"W1AW", "W1AW"},     {"K1ABC/7", "K1ABC"}, {"VE3XYZ-2", "VE3XYZ"}, {"N0AX QRP", "N0AX"},
      {"w1aw", "YourCall"}, {"", "YourCall"},     {" W1AW", "YourCall"}, {"/W1AW", "YourCall"},
      {"W1aw", "W1"},       {"AB:C", "AB"},       {"AB@C", "AB"},         {"AB[C", "AB"},
  };
  for (const auto& [call, stem] : cases) EXPECT_EQ(CallToFileStem(QString::fromLatin1(call)), stem) << call;
}

}  // namespace
}  // namespace fd
