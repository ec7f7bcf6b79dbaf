#include "rig/bandplan.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "platform/items.h"
#include "platform/safefile.h"

namespace fd::rig {

BandPlanFile readBandPlan(const QString& path) {
  BandPlanFile out;
  QByteArray bytes;
  if (!readWholeFile(path, bytes).ok) return out;
  out.opened = true;
  QList<items::Item> all;
  for (const QString& line : items::lines(QString::fromLatin1(bytes))) {
    if (line.trimmed().isEmpty()) continue;
    for (items::Item it : items::splitItems(line.trimmed()).items) {
      if (!it.quoted) it.text = it.text.trimmed();
      all << it;
    }
  }
  if (all.isEmpty()) return out;
  out.date = all[0].text;
  for (qsizetype i = 1; i < all.size(); i += 5) {
    if (i + 4 >= all.size()) {
      out.malformed = true;
      break;
    }
    const auto lo = items::toDouble(all[i + 3].text);
    const auto hi = items::toDouble(all[i + 4].text);
    if (!lo || !hi) {
      out.malformed = true;
      continue;
    }
    out.records << BandPlanEntry{all[i].text, all[i + 1].text, all[i + 2].text, static_cast<float>(*lo),
                                 static_cast<float>(*hi)};
  }
  out.tooMany = out.records.size() > kChartRecords;
  return out;
}

QList<BandPlanEntry> extraRecords(const BandPlanFile& f) {
  QList<BandPlanEntry> e;
  for (const BandPlanEntry& r : f.records)
    if (r.cls == u"E" && e.size() < kExtraRecords) e << r;
  return e;
}

void ModeFromBandPlan(const QList<BandPlanEntry>& plan, float f, QString& mode) {
  QString band;
  for (const BandPlanEntry& r : plan) {
    if (r.low < f && f < r.high) {
      band = r.band;
      mode = r.mode;
      break;
    }
  }
  if (band == u"160") {
    mode.clear();
  } else if (mode == u"PH") {
    mode = (band == u"80" || band == u"60" || band == u"40") ? QStringLiteral("LSB") : QStringLiteral("USB");
  }
}

QList<PrivilegeRow> privilegeRows(const QList<BandPlanEntry>& records, const QString& cls) {
  QList<PrivilegeRow> rows;
  for (qsizetype i = 0; i < records.size(); ++i) {
    if (records[i].cls != u"O") continue;
    for (qsizetype j = i + 1; j < records.size() && records[j].band == records[i].band; ++j) {
      if (records[j].cls != cls) continue;
      PrivilegeRow row{records[i].band, records[i].low, records[i].high, {}};
      for (const BandPlanEntry& first : records)
        if (first.band == row.band) {
          row.low = first.low;
          row.high = first.high;
          break;
        }
      if (row.high != row.low && rows.size() < 20) rows << row;
      break;
    }
  }
  for (const BandPlanEntry& r : records) {
    if (r.cls != cls) continue;
    for (PrivilegeRow& row : rows)
      if (row.band == r.band) row.segments.append({r.low, r.high, r.mode == u"CW"});
  }
  return rows;
}

namespace {
// A hand-edited file may put a band's edges a hair apart, or a segment far
// outside its band: the pixel numbers are held within reach of any screen
// (an int conversion past its range is undefined).
int pixels(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<int>(std::clamp(x, -1.0e6, 1.0e6));
}
}  // namespace

SegmentPlace segmentPlace(const PrivilegeRow& row, const PrivilegeRow::Segment& seg, int barLeft, int barWidth) {
  const double span = row.high - row.low;
  return {pixels(barLeft + barWidth * (seg.low - row.low) / span), pixels(barWidth * (seg.high - seg.low) / span)};
}

QString edgeText(float mhz) {
  QLocale c(QLocale::C);
  c.setNumberOptions(QLocale::DefaultNumberOptions);  // with the "," between thousands
  return c.toString(static_cast<double>(mhz), 'f', 3);
}

}  // namespace fd::rig
