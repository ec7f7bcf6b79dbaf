#include "rig/readback.h"

namespace fd::rig {

QString bandOfFrequency(float mhz) {
  struct Range { float lo, hi; const char* band; };
  static const Range ranges[] = {
      {1.7999f, 2.0001f, "160"},   {3.4999f, 4.0001f, "80"},    {6.9999f, 7.3001f, "40"},
      {13.9999f, 14.3501f, "20"},  {20.9999f, 21.4501f, "15"},  {27.9999f, 29.7001f, "10"},
      {49.9999f, 54.0001f, "6"},   {143.9999f, 148.0001f, "2"}, {218.9999f, 225.0001f, "1.25"},
      {419.9999f, 450.0001f, "70"}, {901.9999f, 928.0001f, "33"}, {1239.9999f, 1300.0001f, "23"},
  };
  QString band;
  for (const Range& r : ranges)
    if (mhz > r.lo && mhz < r.hi) band = QString::fromLatin1(r.band);
  return band;
}

QString curFreqText(float mhz) { return QString::number(static_cast<double>(mhz), 'f', 3); }

QString freqLabelText(float mhz) { return QString::number(static_cast<double>(mhz), 'f', 5); }

void BandFreqConversion(MainWindow& w, const ProgramState& s, const float& frequencyValue) {
  if (!(frequencyValue > 0)) return;
  const QString band = bandOfFrequency(frequencyValue);
  if (!band.isEmpty() && band != s.CurBand) w.selectBand(band);
  w.setCurFreq(curFreqText(frequencyValue));
}

void ModeSelection(MainWindow& w, const ProgramState& s, const QString& strMode) {
  if (strMode.isEmpty() || strMode == s.CurMode) return;
  if (strMode == u"PH" || strMode == u"CW") w.selectMode(strMode);
}

}  // namespace fd::rig
