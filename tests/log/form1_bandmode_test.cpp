// Band and mode commands from the menus and the band and mode labels, with
// the preferences file after each change.
#include <QAction>
#include <QTest>

#include "log/form1.h"
#include "testenv.h"

namespace fd {
namespace {

const QStringList kBandItemNames = {"mnu160", "mnu80", "mnu40", "mnu20", "mnu15", "mnu10", "mnu6",
                                    "mnu2",   "mnu125", "mnu70", "mnu33", "mnu23", "mnuSatellite"};
const QStringList kModeItemNames = {"mnuCW", "mnuDigital", "mnuSSB"};

struct FakeSpots : SpotServices {
  bool map = false, list = false;
  int scales = 0, draws = 0;
  bool bandMapVisible() const override { return map; }
  bool spotListVisible() const override { return list; }
  void bandMapScale() override { ++scales; }
  void displayBandMapLabels() override { ++draws; }
};

class ShellBandModeTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    auto sp = std::make_unique<FakeSpots>();
    spots = sp.get();
    services.spots = std::move(sp);
    form = std::make_unique<Form1>(state, services);
  }
  void TearDown() override { form.reset(); }

  QByteArray prefLine(int n) const { return readFile("fdpref.dat").split('\n').value(n - 1).chopped(1); }
  QStringList checked(const QStringList& names) const {
    QStringList out;
    for (const QString& n : names)
      if (form->menuItem(n)->isChecked()) out << n;
    return out;
  }

  Services services;
  FakeSpots* spots = nullptr;
  std::unique_ptr<Form1> form;
};

// The left button walks the band list forward and wraps from SAT to 160; any
// other button walks it backward and wraps from 160 to SAT. Each step shows
// the band, rewrites the preferences and moves the one check mark.
TEST_F(ShellBandModeTest, BandLabelStepsThroughTheListBothWays) {
  state.CurBand = "160";
  for (int step = 1; step <= 13; ++step) {
    form->Label30_MouseDown(1);
    const int at = step % 13;
    SCOPED_TRACE(kBands[at].toStdString());
    EXPECT_EQ(state.CurBand, kBands[at]);
    EXPECT_EQ(form->Label30->text(), kBands[at]);
    EXPECT_EQ(prefLine(6), '"' + kBands[at].toLatin1() + '"');
    EXPECT_EQ(checked(kBandItemNames), QStringList{kBandItemNames[at]});
  }
  for (int button : {2, 4, 2}) {
    const int before = static_cast<int>(kBands.indexOf(state.CurBand));
    form->Label30_MouseDown(button);
    const int at = (before + 12) % 13;
    EXPECT_EQ(state.CurBand, kBands[at]);
    EXPECT_EQ(prefLine(6), '"' + kBands[at].toLatin1() + '"');
    EXPECT_EQ(checked(kBandItemNames), QStringList{kBandItemNames[at]});
  }
  EXPECT_EQ(state.CurBand, "33");  // 160 -> SAT -> 23 -> 33
}

TEST_F(ShellBandModeTest, RealClicksOnTheBandLabel) {
  state.CurBand = "SAT";
  QTest::mouseClick(form->Label30, Qt::LeftButton);
  EXPECT_EQ(state.CurBand, "160");
  QTest::mouseClick(form->Label30, Qt::RightButton);
  EXPECT_EQ(state.CurBand, "SAT");
  QTest::mouseClick(form->Label30, Qt::RightButton);
  EXPECT_EQ(state.CurBand, "23");
}

// A band that is in no list (a hand-edited file; case counts) makes the label
// do nothing; a menu choice repairs it.
TEST_F(ShellBandModeTest, UnknownBandOrModeMakesTheLabelsDoNothing) {
  state.CurBand = "sat";
  state.CurMode = "SSB";
  form->Label30_MouseDown(1);
  form->Label12_Click();
  EXPECT_EQ(state.CurBand, "sat");
  EXPECT_EQ(state.CurMode, "SSB");
  EXPECT_FALSE(QFile::exists(path("fdpref.dat")));

  form->menuItem("mnu20")->trigger();
  form->menuItem("mnuCW")->trigger();
  EXPECT_EQ(state.CurBand, "20");
  EXPECT_EQ(state.CurMode, "CW");
  EXPECT_EQ(checked(kBandItemNames), QStringList{"mnu20"});
  EXPECT_EQ(checked(kModeItemNames), QStringList{"mnuCW"});
}

TEST_F(ShellBandModeTest, ModeLabelCyclesCwDigPh) {
  form->menuItem("mnuCW")->trigger();
  const struct {
    const char* mode;
    const char* item;
  } cycle[] = {{"DIG", "mnuDigital"}, {"PH", "mnuSSB"}, {"CW", "mnuCW"}};
  for (const auto& c : cycle) {
    QTest::mouseClick(form->Label12, Qt::LeftButton);
    EXPECT_EQ(state.CurMode, c.mode);
    EXPECT_EQ(form->Label12->text(), c.mode);
    EXPECT_EQ(prefLine(5), QByteArray("\"") + c.mode + '"');
    EXPECT_EQ(checked(kModeItemNames), QStringList{c.item});
  }
}

// Ordinary bands rescale the band map when either spot view shows and redraw
// its spots when the map shows; the satellite band leaves it alone.
TEST_F(ShellBandModeTest, BandMapFollowsOrdinaryBandsOnly) {
  const struct {
    bool map, list;
    int row, scales, draws;
  } cases[] = {
      {false, false, 4, 0, 0}, {false, true, 4, 1, 0}, {true, false, 4, 1, 1},
      {true, false, 3, 1, 1},  // the current band again runs the whole command
      {true, true, 13, 0, 0},
  };
  for (const auto& c : cases) {
    spots->map = c.map;
    spots->list = c.list;
    spots->scales = spots->draws = 0;
    form->BandCommand(c.row);
    EXPECT_EQ(spots->scales, c.scales) << c.row;
    EXPECT_EQ(spots->draws, c.draws) << c.row;
  }
  EXPECT_EQ(state.CurBand, "SAT");
  EXPECT_EQ(form->Label30->text(), "SAT");
  EXPECT_EQ(checked(kBandItemNames), QStringList{"mnuSatellite"});
}

// A preferences write that fails is reported once; the band and mode still
// change, and the marks and band map follow them.
TEST_F(ShellBandModeTest, FailedPreferenceWriteKeepsTheChange) {
  state.ProgDir = path("no-such-folder");
  spots->map = true;
  form->BandCommand(5);
  form->Label30_MouseDown(1);
  form->ModeCommand("DIG");
  EXPECT_EQ(state.CurBand, "10");
  EXPECT_EQ(state.CurMode, "DIG");
  EXPECT_EQ(checked(kBandItemNames), QStringList{"mnu10"});
  EXPECT_EQ(checked(kModeItemNames), QStringList{"mnuDigital"});
  EXPECT_EQ(spots->draws, 2);
  EXPECT_EQ(fake->dialogs->titles(), QStringList{"Preferences Not Saved"});
}

// Load step: the labels and the one matching item of each menu, by exact text.
TEST_F(ShellBandModeTest, StartShowsStoredBandAndMode) {
  const struct {
    const char* band;
    const char* mode;
    QStringList bandItems, modeItems;
  } cases[] = {
      {"1.25", "DIG", {"mnu125"}, {"mnuDigital"}},
      {"SAT", "CW", {"mnuSatellite"}, {"mnuCW"}},
      {"160", "PH", {"mnu160"}, {"mnuSSB"}},
      {"sat", "ph", {}, {}},
  };
  for (const auto& c : cases) {
    state.CurBand = c.band;
    state.CurMode = c.mode;
    form->ShowBandAndMode();
    EXPECT_EQ(form->Label30->text(), c.band);
    EXPECT_EQ(form->Label12->text(), c.mode);
    EXPECT_EQ(checked(kBandItemNames), c.bandItems) << c.band;
    EXPECT_EQ(checked(kModeItemNames), c.modeItems) << c.mode;
  }
}

}  // namespace
}  // namespace fd
