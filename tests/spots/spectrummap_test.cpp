// The spectrum map window, shown modally through the test hook.
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "rig/tuner.h"
#include "spots/spectrummap.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

// Two spots (JA1ABC on 14.025 in slot 48, K1AB on 7.026 in slot 49) and a
// recording tuner.
class SpectrumMapWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.clock->setLocal(plainDateTime(QDate(2026, 6, 27), QTime(14, 5, 9)));
    svc.attach(main);
    setTuner(&tuner);
    svc.BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025"), QString());
    svc.BandMapSpots(QStringLiteral("K1AB"), QStringLiteral("7026"), QString());
  }
  void TearDown() override { setTuner(nullptr); }
  test::FakePlatform fake;
  ProgramState state;
  test::FakeMainWindow main{&state};
  SpotService svc{state};
  RecordingTuner tuner;
};

TEST_F(SpectrumMapWindow, RightClickTunesTakesTheCallAndCloses) {
  EXPECT_TRUE(svc.provides(SpotServices::Feature::SpectrumMap));
  bool seen = false;
  {
    test::ScopedModalHook hook([&](QWidget* w) {
      auto* m = qobject_cast<SpectrumMap*>(w);
      ASSERT_TRUE(m);
      seen = true;
      EXPECT_EQ(m->windowTitle(), QStringLiteral(" HF Spectrum Map"));
      m->BandMapLabelDisplay();
      EXPECT_FALSE(m->lblDXSpot[49]->isHidden());
      EXPECT_EQ(m->lblDXSpot[49]->text(), QStringLiteral("K1"));
      EXPECT_EQ(m->lblFreqSpot[20]->text(), QStringLiteral("14.000"));
      m->lblDXSpot[49]->onMouseDown(1);  // left: removed
      EXPECT_TRUE(m->lblDXSpot[49]->isHidden());
      m->lblDXSpot[48]->onMouseDown(2);  // right: tune, call, hide
      EXPECT_TRUE(m->isHidden());
    });
    svc.showSpectrumMap();
  }
  EXPECT_TRUE(seen);
  ASSERT_EQ(tuner.calls.size(), 1);
  EXPECT_FLOAT_EQ(tuner.calls[0], 14.025f);
  EXPECT_EQ(main.call, QStringLiteral("JA1ABC"));
  EXPECT_EQ(main.focusCalls, 1);
  EXPECT_EQ(svc.spectrumMap(), nullptr);  // unloaded afterwards
  EXPECT_EQ(svc.store.slot[49].freq, 0);
}

// A spot that arrives during the tune shifts the store: the call field gets
// the clicked spot's call, not the one that moved into its slot.
TEST_F(SpectrumMapWindow, ASpotArrivingDuringTheTuneLeavesTheClickedCall) {
  tuner.during = [&] { svc.BandMapSpots(QStringLiteral("W9NEW"), QStringLiteral("14040"), QString()); };
  {
    test::ScopedModalHook hook([&](QWidget* w) {
      auto* m = qobject_cast<SpectrumMap*>(w);
      ASSERT_TRUE(m);
      m->lblDXSpot[48]->onMouseDown(2);
    });
    svc.showSpectrumMap();
  }
  ASSERT_EQ(tuner.calls.size(), 1);
  EXPECT_FLOAT_EQ(tuner.calls[0], 14.025f);
  EXPECT_EQ(main.call, QStringLiteral("JA1ABC"));
}

}  // namespace
}  // namespace fd
