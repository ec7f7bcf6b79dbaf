#pragma once
// The HF spectrum map as numbers: eleven band lines (160 m to 2 m, with 30,
// 17 and 12 m), each band's scale narrowed to the spread of its spots, and
// per store slot the band line it stands on and its place along it.
#include <QDateTime>
#include <QString>
#include <array>

#include "platform/colors.h"
#include "spots/spotstore.h"

namespace fd {

constexpr int kSpectrumBands = 11;

struct SpectrumBand {
  float lower, upper;  // single precision, both strict
};
const std::array<SpectrumBand, kSpectrumBands>& spectrumBands();

// Narrows upper and lower in place to the spread of the spots in slots 1..49.
void BandSpotRange(const SpotStore& store, float& upper, float& lower);

struct SpectrumMark {
  bool visible = false;
  int band = -1;
  QString caption, tooltip;
  ColorValue color = 0;
  double fraction = 0;
};

struct SpectrumLayout {
  std::array<QString, 5 * kSpectrumBands> captions;
  std::array<SpectrumMark, SpotStore::kSlots> marks;
};

std::array<QString, 5 * kSpectrumBands> spectrumScale(const SpotStore& store);
SpectrumLayout layoutSpectrum(const SpotStore& store, const QDateTime& now, float utcOffset);

}  // namespace fd
