#include "spots/spectrum.h"

#include "spots/bandmap.h"

namespace fd {

const std::array<SpectrumBand, kSpectrumBands>& spectrumBands() {
  static const std::array<SpectrumBand, kSpectrumBands> kBands = {{{1.8f, 2.0f},
                                                                   {3.5f, 4.0f},
                                                                   {7.0f, 7.3f},
                                                                   {10.1f, 10.15f},
                                                                   {14.0f, 14.35f},
                                                                   {18.068f, 18.168f},
                                                                   {21.0f, 21.45f},
                                                                   {24.89f, 24.99f},
                                                                   {28.0f, 29.7f},
                                                                   {50.0f, 54.0f},
                                                                   {144.0f, 148.0f}}};
  return kBands;
}

void BandSpotRange(const SpotStore& store, float& upper, float& lower) {
  float lo = upper, hi = lower;
  for (int s = 1; s < SpotStore::kSlots; ++s) {
    const float f = store.slot[s].freq;
    if (f > lower && f < upper) {
      if (f < lo) lo = f;
      if (f > hi) hi = f;
    }
  }
  if (hi > lo) {
    upper = static_cast<float>(static_cast<double>(hi) + 0.001);
    lower = static_cast<float>(static_cast<double>(lo) - 0.001);
  }
}

std::array<QString, 5 * kSpectrumBands> spectrumScale(const SpotStore& store) {
  std::array<QString, 5 * kSpectrumBands> out;
  for (int b = 0; b < kSpectrumBands; ++b) {
    float upper = spectrumBands()[b].upper, lower = spectrumBands()[b].lower;
    BandSpotRange(store, upper, lower);
    for (int k = 0; k < 5; ++k)
      out[static_cast<size_t>(5 * b + k)] =
          format3(static_cast<double>(lower) + (static_cast<double>(upper) - lower) * 0.25 * k);
  }
  return out;
}

SpectrumLayout layoutSpectrum(const SpotStore& store, const QDateTime& now, float utcOffset) {
  SpectrumLayout out;
  out.captions = spectrumScale(store);
  for (int i = SpotStore::kSlots - 1; i >= 0; --i) {
    const SpotSlot& slot = store.slot[i];
    SpectrumMark& m = out.marks[static_cast<size_t>(i)];
    m.tooltip = spotTooltip(slot, utcOffset);
    m.caption = slot.prefix;
    for (int b = 0; b < kSpectrumBands; ++b) {
      if (slot.freq > spectrumBands()[b].lower && slot.freq < spectrumBands()[b].upper) {
        const double lo = out.captions[static_cast<size_t>(5 * b)].toDouble();
        const double hi = out.captions[static_cast<size_t>(5 * b + 4)].toDouble();
        m.band = b;
        m.fraction = (static_cast<double>(slot.freq) - lo) / (hi - lo);
      }
    }
    // Ages are 64-bit: an empty slot's very old time ends the pass.
    if (!ageColor(slot.time.secsTo(now), m.color)) {
      m = SpectrumMark{};
      break;
    }
    m.visible = m.band >= 0;
  }
  return out;
}

}  // namespace fd
