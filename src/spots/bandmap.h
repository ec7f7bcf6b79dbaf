#pragma once
// The main window's band map as numbers: the scale for the current band and,
// per store slot, whether its label shows, its caption, tooltip, text colour
// and its place along the axis (0 = low end, 1 = high end). The window only
// places labels.
#include <QDateTime>
#include <QString>
#include <array>
#include <utility>

#include "platform/colors.h"
#include "spots/spotstore.h"

namespace fd {

// Band edges in MHz by the exact band text; any other band gives 0 and 0.
std::pair<double, double> bandMapEdges(const QString& band);

// "#.000": the value's binary value rounded to three decimals, exact ties to
// even; no digit before the point for values below 1 (0 shows ".000").
QString format3(double v);

// Text colour by age in seconds; nullopt-like false when the spot is too old.
bool ageColor(qint64 ageSeconds, ColorValue& color);

struct BandMapMark {
  bool visible = false;
  QString caption, tooltip;
  ColorValue color = 0;
  double fraction = 0;
};

struct BandMapLayout {
  std::array<QString, 5> captions;
  std::array<BandMapMark, SpotStore::kSlots> marks;
};

// The five captions (BandMapScale).
std::array<QString, 5> bandMapScale(const SpotStore& store, const QString& band);
// The whole redraw (DisplayBandMapLabels).
BandMapLayout layoutBandMap(const SpotStore& store, const QString& band, const QDateTime& now, float utcOffset);

// The tooltip of a slot: call, two blanks, "#.000", two blanks, UTC "hh:mm:ss".
QString spotTooltip(const SpotSlot& slot, float utcOffset);

}  // namespace fd
