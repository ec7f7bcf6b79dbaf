#pragma once
// "BandPlan.txt": first item the date of the rules it follows, then records
// "band","class","mode",low,high (MHz), one a line; each band's "O" record
// (its whole extent) first, then that band's class records. "CW": CW and
// data only; any other mode: phone allowed.
#include <QList>
#include <QString>

namespace fd::rig {

struct BandPlanEntry {
  QString band, cls, mode;
  float low = 0, high = 0;
};

// The chart holds at most this many records of the file; the rig window's
// table at most this many class "E" records, wherever they stand.
constexpr qsizetype kChartRecords = 200;
constexpr qsizetype kExtraRecords = 200;

struct BandPlanFile {
  bool opened = false;     // the file could be read
  bool malformed = false;  // a record could not be read
  bool tooMany = false;    // more records than the chart holds
  QString date;
  QList<BandPlanEntry> records;  // every record, in file order
};

// Reads the whole file; trailing blank lines and white space are ignored, a
// record that cannot be read is skipped (and marks the file malformed).
BandPlanFile readBandPlan(const QString& path);

// The first 200 class "E" records of the whole file (the rig window's table).
QList<BandPlanEntry> extraRecords(const BandPlanFile& f);

// The mode for a new frequency: the first "E" row with low < f < high;
// "160" gives none; "PH" becomes "LSB" on "80", "60", "40", else "USB".
// `mode` keeps its value when no row matches.
void ModeFromBandPlan(const QList<BandPlanEntry>& plan, float f, QString& mode);

// The chart of one class: a row per band whose "O" record is directly
// followed (within the band) by a record of the class, at most 20 rows; each
// row's segments in file order. A band with equal edges gets no row.
struct PrivilegeRow {
  QString band;
  float low = 0, high = 0;
  struct Segment {
    float low, high;
    bool cw;
  };
  QList<Segment> segments;
};
QList<PrivilegeRow> privilegeRows(const QList<BandPlanEntry>& records, const QString& cls);

// A segment's left edge and width in pixels on a bar (barLeft, barWidth)
// that spans the row's edges; held within +-1,000,000.
struct SegmentPlace {
  int left = 0, width = 0;
};
SegmentPlace segmentPlace(const PrivilegeRow& row, const PrivilegeRow::Segment& seg, int barLeft, int barWidth);

// "#,###.##0": 3.5 -> "3.500", 1240 -> "1,240.000".
QString edgeText(float mhz);

}  // namespace fd::rig
