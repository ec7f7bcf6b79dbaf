// The menu bar as the operator meets it: the tree, which items are on, and
// the commands that live in the menus themselves.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include "log/form1.h"
#include "log/form5.h"
#include "platform/forms.h"
#include "testenv.h"

namespace fd {
namespace {

struct Row {
  int depth;
  QString name, caption;
  bool enabled;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Row& r) {
  return o << r.depth << ' ' << r.name.toStdString() << " \"" << r.caption.toStdString() << "\" "
           << (r.enabled ? "on" : "off");
}

// Every subsystem served, so that only the items switched off for good stay off.
struct AllOutput : OutputServices {
  bool provides(Feature) const override { return true; }
  void showSummary() override { ++summaries; }
  void showStats() override { ++stats; }
  int summaries = 0, stats = 0;
};
struct AllKeying : KeyingServices {
  bool provides(Feature) const override { return true; }
};
struct AllRig : RigServices {
  bool provides(Feature) const override { return true; }
};
struct AllSpots : SpotServices {
  bool provides(Feature) const override { return true; }
  void showSpottingSetup() override { prefsBeforeShow = QFile::exists(prefsPath); }
  QString prefsPath;
  bool prefsBeforeShow = false;
};

class ShellMenuTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    form = std::make_unique<Form1>(state, services);
  }
  void TearDown() override {
    form.reset();
    setModalHook({});
  }
  void serveEverything() {
    auto out = std::make_unique<AllOutput>();
    output = out.get();
    services.output = std::move(out);
    services.keying = std::make_unique<AllKeying>();
    services.rig = std::make_unique<AllRig>();
    auto sp = std::make_unique<AllSpots>();
    spots = sp.get();
    spots->prefsPath = path("fdpref.dat");
    services.spots = std::move(sp);
    form->updateMenuAvailability();
  }
  QList<Row> walk() const {
    QList<Row> rows;
    std::function<void(const QList<QAction*>&, int)> visit = [&](const QList<QAction*>& actions, int depth) {
      for (QAction* a : actions) {
        rows.append({depth, a->objectName(), a->isSeparator() ? QStringLiteral("-") : a->text(), a->isEnabled()});
        if (a->menu()) visit(a->menu()->actions(), depth + 1);
      }
    };
    visit(form->menuBar()->actions(), 0);
    return rows;
  }
  void trigger(const char* name) { form->menuItem(QString::fromLatin1(name))->trigger(); }

  Services services;
  std::unique_ptr<Form1> form;
  AllOutput* output = nullptr;
  AllSpots* spots = nullptr;
};

// The whole tree: names, captions with their ampersands, order, nesting and
// separators; with every subsystem served, only the six items of the window's
// design stay off.
TEST_F(ShellMenuTest, TreeMatchesTheDesign) {
  serveEverything();
  const QList<Row> expected = {
      {0, "mnuFile", "&File", true},
      {1, "mnuBackupOptions", "&Backup Options", true},
      {1, "mnuLine12", "-", true},
      {1, "mnuNew", "&New", true},
      {1, "mnuprintrec", "&Print", false},
      {1, "mnuPrntlog", "Print Log", false},
      {1, "mnuPrntdupe", "Print Dupe Sheet", false},
      {1, "mnuPrntSum", "Print Summary Sheet", false},
      {1, "mnuSep", "-", true},
      {1, "mnuArchive", "A&rchive Current Log", true},
      {1, "mnuLine21", "-", true},
      {1, "mnuAsciiLog", "Write ASCII Log File (ASCIILog.txt)", true},
      {1, "mnuAsciiDupe", "Write ASCII Dupe File", true},
      {1, "mnuWriteSumm", "Write Summary Sheet", true},
      {1, "mnuLine", "-", true},
      {1, "mnuTolvaExport", "Export for Tolva Import", false},
      {1, "mnuADIFExport", "Export &ADIF Format", true},
      {1, "mnuLine4", "-", true},
      {1, "mnuCombine", "&Combine or Restore from Backup", true},
      {1, "mnuLine22", "-", true},
      {1, "mnuCopyListtoClipboard", "Copy &Listed Items to Clipboard", true},
      {1, "mnuLine5", "-", true},
      {1, "mnuExit", "&Exit", true},
      {0, "mnuOptions", "&Options", true},
      {1, "mnuTransmit", "&Transmit", true},
      {2, "mnuCWtransmit", "&CW Setup", true},
      {2, "mnuPhone", "&Phone Setup", true},
      {2, "mnuZell", "Connect to &Zell RTTY", true},
      {1, "mnuLine9", "-", true},
      {1, "mnuAppearance", "&Appearance", true},
      {2, "mnuColors", "&Colors", true},
      {2, "mnuFormsize", "&Form Size", true},
      {2, "mnuTaskbar", "&Taskbar", true},
      {1, "mnuLine6", "-", true},
      {1, "murigInterface", "&Rig Interface", true},
      {1, "mnuLine7", "-", true},
      {1, "mnuDXSpottingMain", "&DX Spotting", true},
      {2, "mnuDXSpotting", "&Configure", true},
      {2, "mnuViewSpectrumMap", "&View Spectrum Map", true},
      {1, "mnuLine8", "-", true},
      {1, "mnuBlind", "&Voice Navigation", true},
      {1, "mnuLine11", "-", true},
      {1, "mnuListPrevious", "&List Previous Contacts", true},
      {1, "mnuLine29", "-", true},
      {1, "mnuPostContest", "&Post Contest Mode", true},
      {0, "mnuSetup", "&Setup", true},
      {0, "mnuBand", "&Band", true},
      {1, "mnu160", "160", true},
      {1, "mnu80", "  80", true},
      {1, "mnu40", "  40", true},
      {1, "mnu20", "  20", true},
      {1, "mnu15", "  15", true},
      {1, "mnu10", "  10", true},
      {1, "mnu6", "    6", true},
      {1, "mnu2", "    2", true},
      {1, "mnu125", "1.25", true},
      {1, "mnu70", "   70", true},
      {1, "mnu33", "   33", true},
      {1, "mnu23", "   23", true},
      {1, "mnuLine20", "-", false},
      {1, "mnuSatellite", "Satellite", true},
      {1, "sep1", "-", true},
      {1, "mnuStats", "&Statistics", true},
      {1, "mnuLine14", "-", true},
      {1, "mnuPrivileges", "&Privileges", true},
      {0, "mnuMode", "&Mode", true},
      {1, "mnuCW", "&CW", true},
      {1, "mnuDigital", "&DIG(ital)", true},
      {1, "mnuSSB", "&PH(one)", true},
      {0, "mnuGraph", "&Graph", true},
      {0, "mnuMap", "M&ap", true},
      {0, "mnuOperator", "O&perator", true},
      {0, "mnuHelp", "&Help", true},
  };
  const QList<Row> rows = walk();
  ASSERT_EQ(rows.size(), expected.size());
  for (qsizetype i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], expected[i]) << "row " << i;

  // Reachable by name, without shortcuts (the hot keys are the window's own),
  // check marks only where the design uses them.
  const QStringList checkable = {"mnu160", "mnu80", "mnu40", "mnu20", "mnu15", "mnu10", "mnu6",
                                 "mnu2", "mnu125", "mnu70", "mnu33", "mnu23", "mnuSatellite",
                                 "mnuCW", "mnuDigital", "mnuSSB", "mnuListPrevious", "mnuPostContest", "mnuTaskbar"};
  for (const Row& r : expected) {
    QAction* a = form->menuItem(r.name);
    ASSERT_NE(a, nullptr) << r.name.toStdString();
    EXPECT_TRUE(a->shortcut().isEmpty()) << r.name.toStdString();
    EXPECT_EQ(a->isCheckable(), checkable.contains(r.name)) << r.name.toStdString();
  }
}

// Until their subsystems are built, their items are greyed; the items of
// this subsystem are on.
TEST_F(ShellMenuTest, ItemsOfUnbuiltSubsystemsAreGreyed) {
  const QStringList greyed = {"mnuBackupOptions", "mnuprintrec",   "mnuPrntlog",     "mnuPrntdupe",   "mnuPrntSum",
                              "mnuArchive",       "mnuAsciiLog",   "mnuAsciiDupe",   "mnuWriteSumm",  "mnuTolvaExport",
                              "mnuADIFExport",    "mnuCombine",    "mnuCWtransmit",  "mnuPhone",      "mnuZell",
                              "murigInterface",   "mnuDXSpotting", "mnuViewSpectrumMap", "mnuBlind",  "mnuLine20",
                              "mnuStats",         "mnuPrivileges", "mnuGraph",       "mnuMap"};
  for (const Row& r : walk())
    EXPECT_EQ(r.enabled, !greyed.contains(r.name)) << r.name.toStdString();
}

TEST_F(ShellMenuTest, NewEmptiesTheLogOnlyOnYes) {
  const QByteArray log = test::recordLine("W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW") +
                         test::recordLine("K2XYZ", "1E", "ENY", "2024/06/22", "18:06:00", "40", "PH");
  writeFile("fdlog.dat", log);
  ASSERT_TRUE(form->book.mnuopen2());

  fake->dialogs->inputs = {"no"};
  trigger("mnuNew");
  EXPECT_EQ(readFile("fdlog.dat"), log);
  EXPECT_EQ(state.QsoCount(), 2);

  fake->dialogs->inputs = {"YES"};
  trigger("mnuNew");
  EXPECT_TRUE(QFile::exists(path("fdlog.dat")));
  EXPECT_EQ(readFile("fdlog.dat"), QByteArray());
  EXPECT_EQ(state.QsoCount(), 0);
  EXPECT_EQ(fake->dialogs->beeps, 2);
  EXPECT_EQ(fake->dialogs->titles(), QStringList({"WARNING - Your existing log file will be ERASED!",
                                                  "WARNING - Your existing log file will be ERASED!"}));
}

TEST_F(ShellMenuTest, ExitWritesThePreferences) {
  state.CurBand = "15";
  trigger("mnuExit");
  const QList<QByteArray> lines = readFile("fdpref.dat").split('\n');
  ASSERT_EQ(lines.size(), 18);  // seventeen lines and the end after the last
  EXPECT_EQ(lines[5], "\"15\"\r");
}

TEST_F(ShellMenuTest, SummaryNeedsCallClassAndSectionOfTwoCharacters) {
  serveEverything();
  state.MyCall = "W1AW";
  state.MyClass = "2";
  state.MySection = "CT";
  trigger("mnuWriteSumm");
  EXPECT_EQ(output->summaries, 0);
  EXPECT_EQ(fake->dialogs->beeps, 1);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Need Call, Class & Section!");
  EXPECT_EQ(fake->dialogs->shown[0].text, "Please enter your Call, Class and Section in Setup!");

  state.MyClass = "2A";
  trigger("mnuWriteSumm");
  EXPECT_EQ(output->summaries, 1);
  EXPECT_EQ(fake->dialogs->shown.size(), 1);
}

TEST_F(ShellMenuTest, WindowItemsReachTheirSubsystems) {
  serveEverything();
  trigger("mnuStats");
  EXPECT_EQ(output->stats, 1);
  // The spotting window reads its settings only after the preferences are written.
  trigger("mnuDXSpotting");
  EXPECT_TRUE(spots->prefsBeforeShow);
}

// Each opening builds the help page afresh from readfd.txt, shown as it stands.
TEST_F(ShellMenuTest, HelpShowsTheFileAsItStandsAtEachOpening) {
  QString seen, title;
  int opened = 0;
  setModalHook([&](QWidget* w) {
    auto* help = qobject_cast<Form5*>(w);
    ASSERT_NE(help, nullptr);
    ++opened;
    title = help->windowTitle();
    seen = help->Text1->toPlainText();
    help->Command1->click();
  });
  trigger("mnuHelp");
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(seen, QString());  // no file: an empty page, no message
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());

  writeFile("readfd.txt", "Line one, with a comma\r\n\"Quoted\" text\r\n\r\nLast");
  trigger("mnuHelp");
  EXPECT_EQ(title, "Field Day Logging Program Help Page");
  EXPECT_EQ(seen, "Line one, with a comma\n\"Quoted\" text\n\nLast");

  writeFile("readfd.txt", "Edited");
  trigger("mnuHelp");
  EXPECT_EQ(seen, "Edited");
  EXPECT_EQ(opened, 3);
}

// The guide shipped beside the program: CR LF lines, bytes of the 8-bit table.
TEST(ShellHelpText, ShippedGuideHasCrLfLines) {
  QFile f(QStringLiteral(FD_SOURCE_DIR "/dist/readfd.txt"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_TRUE(text.endsWith("\r\n"));
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
    if (text[i] == '\r') ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
  }
}

}  // namespace
}  // namespace fd
