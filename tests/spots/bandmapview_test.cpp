// The spot area on the main window: PacketResize and the mouse on spots and rows.
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "rig/tuner.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

class SpotArea : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.clock->setLocal(plainDateTime(QDate(2026, 6, 27), QTime(14, 5, 9)));
    state.CurBand = QStringLiteral("20");
    state.RigType = QStringLiteral("Kenwood");
    svc.attach(main);
    setTuner(&tuner);
  }
  void TearDown() override { setTuner(nullptr); }
  test::FakeMainWindow::View& v() { return main.view; }
  test::FakePlatform fake;
  ProgramState state;
  test::FakeMainWindow main{&state};
  SpotService svc{state};
  RecordingTuner tuner;
};

TEST_F(SpotArea, PacketResizeOpensSwitchesAndCloses) {
  // Another control of the window, to watch the squeeze.
  ClickLabel other(&main.parent);
  v().layout.add(&other, ControlKind::Label, 100, 1000, 500, 300);
  svc.PacketResize(QStringLiteral("None"), false);
  EXPECT_FALSE(svc.bandMapVisible());
  EXPECT_FALSE(svc.spotListVisible());
  EXPECT_DOUBLE_EQ(v().layout.find(&other)->top, 1000);

  svc.PacketResize(QStringLiteral("Telnet"), false);
  EXPECT_TRUE(svc.bandMapVisible());
  EXPECT_FALSE(svc.spotListVisible());
  EXPECT_DOUBLE_EQ(v().layout.find(&other)->top, 900);
  EXPECT_DOUBLE_EQ(v().layout.find(&other)->height, 270);
  const TwipControl* area = v().layout.find(&v().area);
  EXPECT_DOUBLE_EQ(area->top + area->height, v().clientHeight);  // fills the client area to its bottom
  EXPECT_DOUBLE_EQ(area->left, 120);
  EXPECT_DOUBLE_EQ(area->width, 0.97 * 12000);
  EXPECT_EQ(v().scale[0]->text(), QStringLiteral("14.000"));
  EXPECT_FALSE(v().scale[0]->isHidden());

  svc.PacketResize(QStringLiteral("Telnet"), true);  // to the list
  EXPECT_TRUE(svc.spotListVisible());
  EXPECT_FALSE(svc.bandMapVisible());
  EXPECT_TRUE(v().line.isHidden());
  // Back to the band map with a spot in the store, with no activation of the
  // main window after it: only the spot's label shows.
  svc.BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025"), QStringLiteral("de W3LPL:"));
  svc.PacketResize(QStringLiteral("Telnet"), false);
  EXPECT_TRUE(svc.bandMapVisible());
  EXPECT_FALSE(v().spots[49]->isHidden());
  EXPECT_TRUE(v().spots[0]->isHidden());
  svc.PacketResize(QStringLiteral("Telnet"), true);

  svc.PacketResize(QStringLiteral("None"), true);
  EXPECT_FALSE(svc.spotListVisible());
  EXPECT_NEAR(v().layout.find(&other)->top / 1000, 0.99999999, 1e-9);
  EXPECT_DOUBLE_EQ(v().layout.find(&v().list)->top, 1000);
  svc.PacketResize(QStringLiteral("None"), true);  // a second time changes nothing
  EXPECT_NEAR(v().layout.find(&other)->top / 1000, 0.99999999, 1e-9);

  svc.PacketResize(QStringLiteral("TNC"), true);  // the list chosen while closed opens as a list
  EXPECT_TRUE(svc.spotListVisible());
  EXPECT_FALSE(svc.bandMapVisible());
}

TEST_F(SpotArea, MouseOnSpotsAndRows) {
  svc.PacketResize(QStringLiteral("Telnet"), false);
  svc.BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025"), QStringLiteral("de W3LPL:"));
  svc.BandMapSpots(QStringLiteral("K1AB"), QStringLiteral("14030"), QStringLiteral("de W3LPL:"));
  EXPECT_FALSE(v().spots[49]->isHidden());
  EXPECT_FALSE(v().spots[48]->isHidden());
  EXPECT_EQ(v().spots[48]->text(), QStringLiteral("JA1"));
  EXPECT_EQ(v().spots[48]->toolTip(), QStringLiteral("JA1ABC  14.025  14:05:09"));
  EXPECT_EQ(v().spots[48]->foreColor(), rgbValue(255, 255, 128));

  v().spots[48]->onMouseMove();
  EXPECT_EQ(v().dupe, QStringLiteral("JA1ABC  14.025  14:05:09"));

  v().spots[48]->onMouseDown(2);  // right: tune, fill the call, Tab
  ASSERT_EQ(tuner.calls.size(), 1);
  EXPECT_FLOAT_EQ(tuner.calls[0], 14.025f);
  EXPECT_EQ(main.call, QStringLiteral("JA1ABC"));
  EXPECT_EQ(v().tabs, 1);

  v().spots[48]->onMouseDown(1);  // left: removed, its row stays
  EXPECT_EQ(svc.store.slot[48].freq, 0);
  EXPECT_TRUE(v().spots[48]->isHidden());
  EXPECT_EQ(v().list.topLevelItemCount(), 2);

  // A row click: the call, and tuning unless no radio is chosen.
  v().list.setCurrentItem(v().list.topLevelItem(1));
  svc.txtDX_Click();
  EXPECT_EQ(tuner.calls.size(), 2);
  EXPECT_EQ(main.call, QStringLiteral("JA1ABC"));
  state.RigType = QStringLiteral("None");
  v().list.setCurrentItem(v().list.topLevelItem(0));
  svc.txtDX_Click();
  EXPECT_EQ(tuner.calls.size(), 2);
  EXPECT_EQ(main.call, QStringLiteral("K1AB"));
  EXPECT_EQ(v().tabs, 1);  // no Tab from the list
}

// A spot that arrives while the radio is tuned (the tune's waits run the
// spotting links) shifts the store and may push the clicked row out of a full
// list: the call that reaches the entry field is the clicked spot's.
TEST_F(SpotArea, ASpotArrivingDuringTheTuneLeavesTheClickedCall) {
  svc.PacketResize(QStringLiteral("Telnet"), false);
  for (int i = 0; i < 200; ++i)
    svc.BandMapSpots(QStringLiteral("K%1AA").arg(i), QStringLiteral("%1").arg(14001 + i), QStringLiteral("de W3LPL:"));
  svc.BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025"), QStringLiteral("de W3LPL:"));
  svc.BandMapSpots(QStringLiteral("K1AB"), QStringLiteral("14030"), QStringLiteral("de W3LPL:"));
  int arrived = 0;
  tuner.during = [&] {
    svc.BandMapSpots(QStringLiteral("W9NEW%1").arg(++arrived), QStringLiteral("14040"), QStringLiteral("de W3LPL:"));
  };
  const struct { const char* what; std::function<void()> click; const char* call; float mhz; } rows[] = {
      {"band map, right click", [&] { v().spots[48]->onMouseDown(2); }, "JA1ABC", 14.025f},
      {"spot list, the bottom row of a full list",
       [&] {
         ASSERT_EQ(v().list.topLevelItemCount(), 200);
         v().list.setCurrentItem(v().list.topLevelItem(199));
         svc.txtDX_Click();
       },
       "K3AA", 14.004f},
  };
  for (const auto& r : rows) {
    tuner.calls.clear();
    main.call.clear();
    r.click();
    ASSERT_EQ(tuner.calls.size(), 1) << r.what;
    EXPECT_FLOAT_EQ(tuner.calls[0], r.mhz) << r.what;
    EXPECT_EQ(main.call, QString::fromLatin1(r.call)) << r.what;
  }
  EXPECT_EQ(arrived, 2);
}

// A click or double click on the list where there is no row is one on the
// list: the focus goes back to the call field, a double click opens the
// spectrum map.
TEST_F(SpotArea, AClickWhereTheListHasNoRow) {
  svc.PacketResize(QStringLiteral("Telnet"), true);
  v().list.resize(400, 300);
  int maps = 0;
  test::ScopedModalHook hook([&](QWidget* w) {
    ++maps;
    w->hide();
  });
  const struct { int rows; } rows[] = {{0}, {1}};
  for (const auto& r : rows) {
    if (r.rows) svc.BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025"), QStringLiteral("de W3LPL:"));
    v().list.setCurrentItem(nullptr);
    const QPoint gap(10, v().list.viewport()->height() - 5);
    ASSERT_EQ(v().list.itemAt(gap), nullptr);
    const int focus = main.focusCalls, before = maps;
    QTest::mouseClick(v().list.viewport(), Qt::LeftButton, {}, gap);
    EXPECT_EQ(main.focusCalls, focus + 1) << r.rows;
    QTest::mouseDClick(v().list.viewport(), Qt::LeftButton, {}, gap);
    EXPECT_EQ(maps, before + 1) << r.rows;
    EXPECT_TRUE(tuner.calls.isEmpty());
  }
}

TEST_F(SpotArea, WhereSpotsMeetTheNewestIsOnTop) {
  svc.PacketResize(QStringLiteral("Telnet"), false);
  svc.BandMapSpots(QStringLiteral("K1OLD"), QStringLiteral("14025"), QStringLiteral("de W3LPL:"));
  svc.BandMapSpots(QStringLiteral("W9NEW"), QStringLiteral("14025"), QStringLiteral("de W3LPL:"));
  ASSERT_FALSE(v().spots[48]->isHidden());
  ASSERT_FALSE(v().spots[49]->isHidden());
  ASSERT_EQ(v().spots[48]->geometry(), v().spots[49]->geometry());
  svc.refreshBandMap();  // a second redraw keeps the order
  main.parent.resize(v().spots[49]->geometry().bottomRight().x() + 10, v().spots[49]->geometry().bottom() + 10);
  EXPECT_EQ(main.parent.childAt(v().spots[49]->geometry().center()), v().spots[49].get());
}

TEST_F(SpotArea, AClickOnTheAreaShowsTheSetupWindow) {
  QTemporaryDir dir;
  state.ProgDir = dir.path();
  v().area.onClick();
  ASSERT_TRUE(svc.spotWindow());
  EXPECT_TRUE(svc.spotWindow()->isVisible());
  svc.unload(SideWindow::PacketSpotfrm);
}

}  // namespace
}  // namespace fd
