#include "spots/bandmap.h"

#include <cmath>
#include <cstdio>

namespace fd {

std::pair<double, double> bandMapEdges(const QString& band) {
  struct Row { const char* band; double low, high; };
  static constexpr Row kRows[] = {{"160", 1.8, 2},   {"80", 3.5, 4},     {"40", 7, 7.3},       {"20", 14, 14.35},
                                  {"15", 21, 21.45}, {"10", 28, 29.7},   {"6", 50, 54},        {"2", 144, 148},
                                  {"1.25", 219, 225}, {"70", 420, 450}, {"33", 902, 928},     {"23", 1240, 1300}};
  for (const Row& r : kRows)
    if (band == QLatin1String(r.band)) return {r.low, r.high};
  return {0, 0};
}

QString format3(double v) {
  // printf rounds the exact binary value, ties to even.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  QString s = QString::fromLatin1(buf);
  if (s.startsWith(QLatin1String("0."))) s.remove(0, 1);
  else if (s.startsWith(QLatin1String("-0."))) s.remove(1, 1);
  return s;
}

bool ageColor(qint64 age, ColorValue& color) {
  if (age < 600) color = rgbValue(255, 255, 128);  // 0x80FFFF packed blue-green-red
  else if (age < 1800) color = rgbValue(255, 255, 255);
  else if (age < 3600) color = rgbValue(192, 192, 192);
  else return false;
  return true;
}

std::array<QString, 5> bandMapScale(const SpotStore& store, const QString& band) {
  auto [low, high] = bandMapEdges(band);
  double lowest = high, highest = low;
  for (int s = 1; s < SpotStore::kSlots; ++s) {
    const double f = store.slot[s].freq;
    if (f > low && f < high) {
      if (f < lowest) lowest = f;
      if (f > highest) highest = f;
    }
  }
  if (highest > lowest) {
    low = lowest - 0.001;
    high = highest + 0.001;
  }
  std::array<QString, 5> out;
  for (int k = 0; k < 5; ++k) out[k] = format3(low + k * 0.25 * (high - low));
  return out;
}

QString spotTooltip(const SpotSlot& slot, float utcOffset) {
  const QDateTime utc = slot.time.addSecs(static_cast<qint64>(std::llround(static_cast<double>(utcOffset) * 3600.0)));
  return slot.call + QStringLiteral("  ") + format3(slot.freq) + QStringLiteral("  ") +
         utc.toString(QStringLiteral("HH:mm:ss"));
}

BandMapLayout layoutBandMap(const SpotStore& store, const QString& band, const QDateTime& now, float utcOffset) {
  BandMapLayout out;
  out.captions = bandMapScale(store, band);
  // The scale's ends as shown (the rounded numbers), never parsed in a locale.
  const float low = out.captions[0].toFloat(), high = out.captions[4].toFloat();
  for (int s = SpotStore::kSlots - 1; s >= 0; --s) {
    const SpotSlot& slot = store.slot[s];
    if (!(slot.freq > low && slot.freq < high)) continue;
    BandMapMark& m = out.marks[s];
    m.tooltip = spotTooltip(slot, utcOffset);
    m.caption = slot.prefix;
    m.fraction = (static_cast<double>(slot.freq) - low) / (static_cast<double>(high) - low);
    if (!ageColor(slot.time.secsTo(now), m.color)) {
      m = BandMapMark{};
      break;  // an old spot ends the redraw
    }
    m.visible = true;
  }
  return out;
}

}  // namespace fd
