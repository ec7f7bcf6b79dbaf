#include "output/graphqso.h"

#include <QDateTime>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "log/datetime.h"
#include "output/bandstats.h"

namespace fd {

const std::array<LegendEntry, 7> kRateLegend = {{
    {"160", qRgb(255, 255, 255)},
    {"80", qRgb(0, 0, 255)},
    {"40", qRgb(255, 0, 0)},
    {"20", qRgb(0, 255, 0)},
    {"15", qRgb(128, 255, 255)},
    {"10", qRgb(255, 0, 255)},
    {"Other", qRgb(255, 255, 0)},
}};

namespace {

struct Stamp {
  long long secs;  // seconds from the Julian day origin, no time zone
  int group;
};

long long stampSecs(const QDateTime& t) {
  return t.date().toJulianDay() * 86400LL + t.time().msecsSinceStartOfDay() / 1000;
}

QDateTime fromStampSecs(long long secs) {
  const long long day = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
  const long long rest = secs - day * 86400;
  return QDateTime(QDate::fromJulianDay(day), QTime(0, 0).addSecs(static_cast<int>(rest)), Qt::UTC);
}

}  // namespace

QString formatRate(double v) {
  // Decimal rounding on the value as 15 significant digits, as the display
  // format sees it, so 0.35 gives "0.4" although its binary value is below.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", std::fabs(v) * 10);
  const double tenths = std::round(std::strtod(buf, nullptr));
  const long long t = static_cast<long long>(tenths);
  const QString sign = (v < 0 && t != 0) ? QStringLiteral("-") : QString();
  return sign + QString::number(t / 10) + u'.' + QString::number(t % 10);
}

RateGraph computeRateGraph(const QsoLog& log, QRgb background) {
  RateGraph g;
  std::vector<Stamp> recs;
  recs.reserve(static_cast<size_t>(log.count()));
  for (const QsoRecord& r : log.records())
    if (auto t = datetime::recordDateTime(r.Date, r.Time)) recs.push_back({stampSecs(*t), bandGroup(r.Band)});
  std::stable_sort(recs.begin(), recs.end(), [](const Stamp& a, const Stamp& b) { return a.secs < b.secs; });
  g.records = static_cast<int>(recs.size());
  if (g.records < RateGraph::kMinRecords) return g;

  g.RateColor.fill(background);
  const long long start = recs.front().secs;
  const long long total = recs.back().secs - start;
  for (int k = 0; k < 15; ++k) {
    const QDateTime t = fromStampSecs(start + datetime::roundHalfEven(static_cast<double>(k) * total / 14.0));
    g.timeLabel[static_cast<size_t>(k)] = t.toString(QStringLiteral("HH:mm"));
    g.dateLabel[static_cast<size_t>(k)] = t.toString(QStringLiteral("MM/dd"));
  }
  if (total == 0) {
    g.outcome = RateGraph::Outcome::Instant;
    return g;
  }

  const double secondsPerColumn = static_cast<double>(total) / RateGraph::kColumns;
  g.RateRaw[1] = 6;
  g.RateSmooth[1] = 6;
  // Records are in time order, so the ten-minute window slides forward: its
  // first record is the oldest less than 600 s before the current one.
  size_t first = 0;
  for (size_t i = 0; i < recs.size(); ++i) {
    while (recs[i].secs - recs[first].secs >= 600) ++first;
    const int n = static_cast<int>(i - first + 1);
    const long long column =
        i == 0 ? 1 : datetime::roundHalfEven(static_cast<double>(recs[i].secs - start) / secondsPerColumn);
    const size_t c = static_cast<size_t>(std::clamp<long long>(column, 0, RateGraph::kColumns));
    g.RateRaw[c] = static_cast<float>(n * 6);
    g.RateColor[c] = kRateLegend[static_cast<size_t>(recs[i].group)].color;
  }

  // Gaps of up to fifteen empty columns get a ramp from the column before.
  for (int c = 2; c <= RateGraph::kColumns; ++c) {
    if (g.RateRaw[static_cast<size_t>(c)] == 0) {
      int m = 0;
      for (int j = c + 1; j <= c + 15; ++j)
        if (g.RateRaw[static_cast<size_t>(j)] > 0) {
          m = j;
          break;
        }
      if (m == 0) continue;
      const double from = g.RateRaw[static_cast<size_t>(c - 1)], to = g.RateRaw[static_cast<size_t>(m)];
      for (int k = c; k < m; ++k) {
        const float v = static_cast<float>(from + (k - c) * (to - from) / (m - c));
        g.RateSmooth[static_cast<size_t>(k)] = v;
        g.RateRaw[static_cast<size_t>(k)] = v;
      }
    } else {
      g.RateSmooth[static_cast<size_t>(c)] = g.RateRaw[static_cast<size_t>(c)];
    }
  }

  // Seven-column average of the positive values only.
  for (int c = 7; c <= RateGraph::kColumns; ++c) {
    double sum = 0;
    int n = 0;
    for (int j = c - 6; j <= c; ++j)
      if (g.RateRaw[static_cast<size_t>(j)] > 0) {
        sum += g.RateRaw[static_cast<size_t>(j)];
        ++n;
      }
    if (n > 0) g.RateSmooth[static_cast<size_t>(c)] = static_cast<float>(sum / n);
  }

  for (int c = 1; c <= RateGraph::kColumns; ++c) {
    g.RateMin = std::min(g.RateMin, g.RateSmooth[static_cast<size_t>(c)]);
    g.RateMax = std::max(g.RateMax, g.RateSmooth[static_cast<size_t>(c)]);
  }

  // A column without a contact of its own carries the colour before it while
  // the curve stays above zero.
  QRgb carried = qRgb(0, 0, 0);
  for (int c = 1; c <= RateGraph::kColumns; ++c) {
    QRgb& col = g.RateColor[static_cast<size_t>(c)];
    if (g.RateSmooth[static_cast<size_t>(c)] > 0) {
      if (col == background) col = carried;
      else carried = col;
    } else {
      carried = background;
    }
  }

  for (int k = 0; k <= 16; ++k)
    g.valueLabel[static_cast<size_t>(k)] =
        formatRate(k == 16 ? g.RateMax : g.RateMin + k * (static_cast<double>(g.RateMax) - g.RateMin) / 16);
  g.outcome = g.RateMax == g.RateMin ? RateGraph::Outcome::Flat : RateGraph::Outcome::Drawn;
  return g;
}

void paintRateGraph(QPainter& p, const RateGraph& g, const RateFrame& f) {
  if (g.outcome != RateGraph::Outcome::Drawn) return;
  const double step = (f.right - f.left) / RateGraph::kColumns;
  const double h = f.bottom - f.top;
  const double yScale = 0.995 * h / (static_cast<double>(g.RateMax) - g.RateMin);
  auto x = [&](int c) { return f.left + f.inset + (c - 2) * step; };
  auto y = [&](int c) { return f.bottom - (g.RateSmooth[static_cast<size_t>(c)] - g.RateMin) * yScale - 0.0025 * h; };
  const int stripTop = static_cast<int>(std::lround(f.stripTop));
  const int stripBottom = static_cast<int>(std::lround(f.stripBottom));
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int c = 1; c <= RateGraph::kColumns; ++c) {
    if (g.RateSmooth[static_cast<size_t>(c)] > 0 || g.RateSmooth[static_cast<size_t>(c - 1)] > 0) {
      const int x0 = static_cast<int>(std::lround(x(c - 1))), x1 = static_cast<int>(std::lround(x(c)));
      p.fillRect(QRect(QPoint(std::min(x0, x1), stripTop), QPoint(std::max(x0, x1), stripBottom)),
                 QColor(g.RateColor[static_cast<size_t>(c)]));
    }
  }
  p.setPen(QPen(QColor(0, 0, 255), 1));
  for (int c = 1; c <= RateGraph::kColumns; ++c) p.drawLine(QPointF(x(c), y(c)), QPointF(x(c - 1), y(c - 1)));
}

}  // namespace fd
