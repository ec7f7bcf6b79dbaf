// The band map as numbers: scale, marks, colours by age, tooltips.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "spots/bandmap.h"

namespace fd {
namespace {

const QDateTime kNow = plainDateTime(QDate(2026, 6, 27), QTime(14, 5, 9));

void put(SpotStore& st, int slot, const char* call, float mhz, qint64 ageSecs = 0) {
  st.slot[slot].call = QString::fromLatin1(call);
  st.slot[slot].prefix = SpotStore::CallPrefix(st.slot[slot].call);
  st.slot[slot].freq = mhz;
  st.slot[slot].time = kNow.addSecs(-ageSecs);
}

QStringList captions(const std::array<QString, 5>& a) { return QStringList(a.begin(), a.end()); }

TEST(BandMap, ScaleTable) {
  SpotStore empty;
  EXPECT_EQ(captions(bandMapScale(empty, "20")), QStringList({"14.000", "14.088", "14.175", "14.262", "14.350"}));
  EXPECT_EQ(captions(bandMapScale(empty, "15")), QStringList({"21.000", "21.113", "21.225", "21.337", "21.450"}));
  EXPECT_EQ(captions(bandMapScale(empty, "SAT")), QStringList({".000", ".000", ".000", ".000", ".000"}));
  SpotStore one;
  put(one, 49, "JA1ABC", 14.025f);
  EXPECT_EQ(captions(bandMapScale(one, "20")), QStringList({"14.000", "14.088", "14.175", "14.262", "14.350"}));
  SpotStore two;
  put(two, 48, "K1AB", 14.020f);
  put(two, 49, "K2AB", 14.030f);
  EXPECT_EQ(captions(bandMapScale(two, "20")), QStringList({"14.019", "14.022", "14.025", "14.028", "14.031"}));
  const BandMapLayout l = layoutBandMap(two, "20", kNow, 0);
  EXPECT_NEAR(l.marks[48].fraction, 0.0834, 0.0001);
  EXPECT_NEAR(l.marks[49].fraction, 0.9166, 0.0001);
}

TEST(BandMap, SlotZeroNeverNarrowsAndBandEdgesAreOutside) {
  SpotStore st;
  put(st, 48, "K1AB", 7.01f);
  put(st, 49, "K2AB", 7.05f);
  put(st, 0, "K3AB", 7.2f);
  put(st, 47, "K4AB", 7.3f);  // on the edge: not drawn, no narrowing
  const BandMapLayout l = layoutBandMap(st, "40", kNow, 0);
  EXPECT_EQ(captions(l.captions), QStringList({"7.009", "7.020", "7.030", "7.041", "7.051"}));
  EXPECT_TRUE(l.marks[48].visible);
  EXPECT_TRUE(l.marks[49].visible);
  EXPECT_FALSE(l.marks[0].visible);
  EXPECT_FALSE(l.marks[47].visible);
  SpotStore lone;
  put(lone, 49, "JA1ABC", 14.025f);
  const BandMapLayout one = layoutBandMap(lone, "20", kNow, 0);
  EXPECT_NEAR(one.marks[49].fraction, 0.0714, 0.0001);
  EXPECT_EQ(one.marks[49].caption, QStringLiteral("JA1"));
  EXPECT_FALSE(layoutBandMap(lone, "SAT", kNow, 0).marks[49].visible);
}

TEST(BandMap, ColoursByAgeAndTheOldSpotEndsTheRedraw) {
  const struct { qint64 age; bool shown; ColorValue color; } rows[] = {
      {-5, true, rgbValue(255, 255, 128)},   {599, true, rgbValue(255, 255, 128)},
      {600, true, rgbValue(255, 255, 255)},  {1799, true, rgbValue(255, 255, 255)},
      {1800, true, rgbValue(192, 192, 192)}, {3599, true, rgbValue(192, 192, 192)},
      {3600, false, 0},
  };
  for (const auto& r : rows) {
    SpotStore st;
    put(st, 49, "K1AB", 14.02f, r.age);
    put(st, 48, "K2AB", 14.03f, 0);
    const BandMapLayout l = layoutBandMap(st, "20", kNow, 0);
    EXPECT_EQ(l.marks[49].visible, r.shown) << r.age;
    if (r.shown) EXPECT_EQ(l.marks[49].color, r.color) << r.age;
    EXPECT_EQ(l.marks[48].visible, r.shown) << r.age;  // lower slots stay hidden after an old one
  }
  // toQColor of the pale yellow is yellowish, not cyan.
  EXPECT_EQ(toQColor(rgbValue(255, 255, 128)), QColor(255, 255, 128));
}

TEST(BandMap, Tooltip) {
  SpotStore st;
  put(st, 49, "JA1ABC", 14.025f);
  const BandMapLayout l = layoutBandMap(st, "20", kNow, 4);
  EXPECT_EQ(l.marks[49].tooltip, QStringLiteral("JA1ABC  14.025  18:05:09"));
}

}  // namespace
}  // namespace fd
