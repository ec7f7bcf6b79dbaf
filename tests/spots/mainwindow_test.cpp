// The spot area on the real main window, offscreen, with scripted dialogs
// and a recording tuner.
#include <QElapsedTimer>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

#include "../log/form1_fixture.h"
#include "platform/platform.h"
#include "rig/tuner.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"

namespace fd {
namespace {

class MainSpotArea : public test::RoadForm {
 protected:
  void SetUp() override {
    RoadForm::SetUp();
    auto s = std::make_unique<SpotService>(state);
    spotSvc = s.get();
    sv.spots = std::move(s);
    state.CurBand = QStringLiteral("20");
    state.CurMode = QStringLiteral("PH");
    setTuner(&tuner);
  }
  void TearDown() override {
    setTuner(nullptr);
    RoadForm::TearDown();
  }
  SpotService* spotSvc = nullptr;
  RecordingTuner tuner;
};

TEST_F(MainSpotArea, PacketResizeRoundTripAndTheMouseOnASpot) {
  open(test::recordLine("JA1ABC", "2A", "CT", "2024/06/22", "16:05:00", "20", "PH", "AB"));
  spotSvc->attach(*form);
  const TwipControl before = *form->layout.find(form->txtCall);
  spotSvc->PacketResize(QStringLiteral("Telnet"), false);
  EXPECT_TRUE(spotSvc->bandMapVisible());
  EXPECT_FALSE(form->lblDX->isHidden());
  EXPECT_NEAR(form->layout.find(form->txtCall)->top, before.top * 0.9, 1e-9);
  const TwipControl* area = form->layout.find(form->lblDX);
  // The area lies on the client area.
  EXPECT_LE(area->top + area->height, form->surface->height() * display().twipsPerPixel() + 1);
  EXPECT_GT(area->height, 0);

  spotSvc->BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025"), QStringLiteral("de W3LPL:"));
  ClickLabel* spot = form->lblDXSpot[49];
  EXPECT_FALSE(spot->isHidden());
  EXPECT_EQ(spot->text(), QStringLiteral("JA1"));
  spot->onMouseMove();
  EXPECT_TRUE(form->lblDupe->text().startsWith(QStringLiteral("JA1ABC  14.025  ")));
  spot->onMouseDown(2);
  ASSERT_EQ(tuner.calls.size(), 1);
  EXPECT_FLOAT_EQ(tuner.calls[0], 14.025f);
  // The call went into the field and the Tab ran its leave step: the duplicate shows.
  EXPECT_EQ(form->lblDialog->backColor(), kStatusDupe);
  spot->onMouseDown(1);
  EXPECT_TRUE(spot->isHidden());
  EXPECT_EQ(form->txtDX->topLevelItemCount(), 1);

  spotSvc->PacketResize(QStringLiteral("Telnet"), true);
  EXPECT_TRUE(spotSvc->spotListVisible());
  EXPECT_TRUE(form->lblDX->isHidden());
  spotSvc->PacketResize(QStringLiteral("None"), true);
  EXPECT_FALSE(spotSvc->spotListVisible());
  EXPECT_NEAR(form->layout.find(form->txtCall)->top, before.top * 0.99999999, 1e-6);
  EXPECT_NEAR(form->layout.find(form->txtCall)->height, before.height * 0.99999999, 1e-6);
}

// The first opening puts the spot area right under the window's other
// controls, as every later opening does: no empty band above it.
TEST_F(MainSpotArea, TheFirstOpeningLeavesNoGapAboveTheSpotArea) {
  open();
  spotSvc->attach(*form);
  QList<double> tops;
  for (int i = 0; i < 3; ++i) {
    spotSvc->PacketResize(QStringLiteral("Telnet"), false);
    tops << form->layout.find(form->lblDX)->top;
    spotSvc->PacketResize(QStringLiteral("None"), false);
  }
  EXPECT_NEAR(tops[0], tops[1], 1) << tops[0] - tops[1];
  EXPECT_NEAR(tops[1], tops[2], 1);
}

// The band map's area tells a click from a double click: its click waits the
// desktop's double-click time after the release, and a second press within it
// runs the click (the setup window shows) and then opens the spectrum map,
// whether or not the window system itself calls the two presses a double
// click. A click alone shows only the setup window, once the time is over.
TEST_F(MainSpotArea, TheBandMapAreaTellsAClickFromADoubleClick) {
  open();
  spotSvc->attach(*form);
  spotSvc->PacketResize(QStringLiteral("Telnet"), false);
  QStyleHints* hints = QGuiApplication::styleHints();
  const int oldInterval = hints->mouseDoubleClickInterval();
  hints->setMouseDoubleClickInterval(200);
  struct Restore {
    QStyleHints* h;
    int ms;
    ~Restore() { h->setMouseDoubleClickInterval(ms); }
  } restore{hints, oldInterval};

  ClickLabel* area = form->lblDX;
  const QPoint at(area->width() / 2, 4);
  ASSERT_EQ(form->childAt(area->mapTo(form.get(), at)), area);
  QWindow* window = form->windowHandle();
  ASSERT_TRUE(window);
  const QPoint inWindow = area->mapTo(form.get(), at);
  QStringList seen;
  const auto click = area->onClick;
  area->onClick = [&, click] {
    seen << QStringLiteral("click");
    click();
  };
  test::ScopedModalHook hook([&](QWidget* w) {
    const bool setupShown = spotSvc->spotWindow() && spotSvc->spotWindow()->isVisible();
    seen << (setupShown ? QStringLiteral("map over the setup window") : QStringLiteral("map alone"));
    w->hide();
  });

  const struct {
    const char* what;
    std::function<void()> mouse;
    QStringList expected;
  } cases[] = {
      {"a click", [&] { QTest::mouseClick(window, Qt::LeftButton, {}, inWindow); }, {"click"}},
      // Press, release, press (the window system's double click), release.
      {"a double click", [&] { QTest::mouseDClick(window, Qt::LeftButton, {}, inWindow); },
       {"click", "map over the setup window"}},
      // Two presses the window system does not pair (slower than its own
      // limit from the first press), the second within the wait.
      {"a second press within the wait",
       [&] {
         QTest::mouseClick(area, Qt::LeftButton, {}, at);
         QTest::qWait(50);
         QTest::mouseClick(area, Qt::LeftButton, {}, at);
       },
       {"click", "map over the setup window"}},
      {"two clicks further apart than the wait",
       [&] {
         QTest::mouseClick(window, Qt::LeftButton, {}, inWindow);
         QTest::qWait(400);
         QTest::mouseClick(window, Qt::LeftButton, {}, inWindow);
       },
       {"click", "click"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (spotSvc->spotWindow()) spotSvc->spotWindow()->hide();
    seen.clear();
    QElapsedTimer since;
    since.start();
    c.mouse();
    if (c.expected.size() == 1) {
      // Nothing yet: the click waits for a second press.
      EXPECT_TRUE(seen.isEmpty()) << seen.join(", ").toStdString();
      EXPECT_TRUE(QTest::qWaitFor([&] { return !seen.isEmpty(); }, 2000));
      EXPECT_GE(since.elapsed(), 200);
    }
    QTest::qWait(300);  // the wait is over: nothing more comes
    EXPECT_EQ(seen.join(", ").toStdString(), c.expected.join(", ").toStdString());
    ASSERT_TRUE(spotSvc->spotWindow());
    EXPECT_TRUE(spotSvc->spotWindow()->isVisible());
  }
  spotSvc->unload(SideWindow::PacketSpotfrm);
}

}  // namespace
}  // namespace fd
