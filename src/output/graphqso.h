#pragma once
// The QSO-rate graph as numbers: for every contact the contacts of the ten
// minutes up to it times six, placed on 1500 columns from the first contact to
// the last, short gaps bridged, smoothed over seven columns, with a band
// colour per column for the strip under the axis. The window paints it.
#include <QRgb>
#include <QString>
#include <array>
#include <vector>

#include "log/qsolog.h"

class QPainter;

namespace fd {

struct RateGraph {
  static constexpr int kColumns = 1500;
  static constexpr int kSlots = 1601;  // columns 0..1600
  static constexpr int kMinRecords = 7;
  // TooFew: the box; Instant: every contact in one second, time labels only;
  // Flat: no vertical scale, labels only; Drawn: the curve and strip.
  enum class Outcome { TooFew, Instant, Flat, Drawn };

  Outcome outcome = Outcome::TooFew;
  int records = 0;  // readable records taken
  std::array<float, kSlots> RateRaw{};
  std::array<float, kSlots> RateSmooth{};
  std::array<QRgb, kSlots> RateColor{};
  float RateMin = 100000, RateMax = -1;
  std::array<QString, 15> timeLabel, dateLabel;  // "HH:mm", "MM/dd"
  std::array<QString, 17> valueLabel;            // lblY(0..16), "###0.0"
};

// The legend: captions and strip colours, index 0..6 = 160, 80, 40, 20, 15, 10, Other.
struct LegendEntry {
  const char* caption;
  QRgb color;
};
extern const std::array<LegendEntry, 7> kRateLegend;

// A record enters by its instant; records whose date or time cannot be read
// are left out and the rest taken in time order (stable), so an edited log
// out of order draws as if it were in order.
RateGraph computeRateGraph(const QsoLog& log, QRgb background);

// "###0.0": one decimal, ties away from zero on the decimal value (2.25 -> "2.3").
QString formatRate(double v);

// The frame in device pixels: the x of the left and right frame sides, the y
// of the top line and bottom axis, the strip's top and bottom, and the
// curve's start inside the left side (ten design twips).
struct RateFrame {
  double left = 0, right = 0, top = 0, bottom = 0, stripTop = 0, stripBottom = 0, inset = 0;
};

// Blue curve and band strip, columns 1..1500; only for Outcome::Drawn.
void paintRateGraph(QPainter& p, const RateGraph& g, const RateFrame& f);

}  // namespace fd
