// The spectrum map as numbers.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "spots/spectrum.h"

namespace fd {
namespace {

const QDateTime kNow = plainDateTime(QDate(2026, 6, 27), QTime(14, 5, 9));

void put(SpotStore& st, int slot, float mhz, qint64 age = 0) {
  st.slot[slot].call = QStringLiteral("K%1AB").arg(slot);
  st.slot[slot].prefix = SpotStore::CallPrefix(st.slot[slot].call);
  st.slot[slot].freq = mhz;
  st.slot[slot].time = kNow.addSecs(-age);
}

QStringList band(const std::array<QString, 55>& c, int b) {
  QStringList out;
  for (int k = 0; k < 5; ++k) out << c[static_cast<size_t>(5 * b + k)];
  return out;
}

TEST(Spectrum, ScaleTable) {
  SpotStore empty;
  const auto c = spectrumScale(empty);
  EXPECT_EQ(band(c, 0), QStringList({"1.800", "1.850", "1.900", "1.950", "2.000"}));
  EXPECT_EQ(band(c, 5), QStringList({"18.068", "18.093", "18.118", "18.143", "18.168"}));
  SpotStore one;
  put(one, 49, 14.025f);
  EXPECT_EQ(band(spectrumScale(one), 4), QStringList({"14.000", "14.088", "14.175", "14.263", "14.350"}));
  SpotStore two;
  put(two, 48, 14.001f);
  put(two, 49, 14.039f);
  EXPECT_EQ(band(spectrumScale(two), 4), QStringList({"14.000", "14.010", "14.020", "14.030", "14.040"}));
  EXPECT_EQ(band(spectrumScale(empty), 6)[3], QStringLiteral("21.338"));
}

TEST(Spectrum, OutOfBandSpotsAndEmptySlots) {
  SpotStore st;
  put(st, 49, 5.3f);
  put(st, 48, 432.0f);
  put(st, 47, 7.025f);
  put(st, 46, 14.35f);  // on the edge
  const SpectrumLayout l = layoutSpectrum(st, kNow, 0);
  EXPECT_FALSE(l.marks[49].visible);
  EXPECT_FALSE(l.marks[48].visible);
  EXPECT_TRUE(l.marks[47].visible);
  EXPECT_EQ(l.marks[47].band, 2);
  EXPECT_FALSE(l.marks[46].visible);
  // An empty slot (very old) ends the pass: slot 45 is empty, 44 is never reached.
  put(st, 44, 7.03f);
  st.slot[45] = SpotSlot{};
  st.slot[45].time = SpotStore::emptyTime();
  EXPECT_FALSE(layoutSpectrum(st, kNow, 0).marks[44].visible);
  // Colours by age, as on the main map.
  SpotStore aged;
  put(aged, 49, 7.01f, 1800);
  EXPECT_EQ(layoutSpectrum(aged, kNow, 0).marks[49].color, rgbValue(192, 192, 192));
}

}  // namespace
}  // namespace fd
