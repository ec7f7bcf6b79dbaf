#include "rig/readback.h"

namespace fd::rig {

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
