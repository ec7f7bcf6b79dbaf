#pragma once
// The map's sources as lines of longitude and latitude: the Census county
// topology of the us-atlas package (TopoJSON, read with Qt's JSON reader) and
// GSHHG's coast and border lines, which the gmt program writes out as text.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace fd::mapgen {

struct LonLat {
  double lon = 0, lat = 0;
};
using GeoLine = std::vector<LonLat>;

struct County {
  QString fips;  // five digits: the state's two, then the county's three
  QString name;
  // Rings as arc references (i: arc i forwards, ~i: arc i backwards); outer
  // rings and holes together, read even-odd.
  std::vector<std::vector<int>> rings;
};

struct Topology {
  std::vector<GeoLine> arcs;
  std::vector<County> counties;
  // The points of a ring, its arcs joined end to start.
  GeoLine ring(const std::vector<int>& refs) const;
};

// Reads counties-10m.json; empty, with *error set, when it cannot.
std::optional<Topology> readTopology(const QString& path, QString* error);

// Runs `gmt coast ARGS -M` (segments as text, ">" between them) and reads
// the segments; empty, with *error set, when gmt cannot run or fails.
// gmt runs in an empty folder of its own, which is also its home and user
// folder, with no GMT_* variable of the environment: no setting of the
// user's reaches the lines.
std::optional<std::vector<GeoLine>> readGmtCoast(const QStringList& args, QString* error);

// The versions of the data found: `gmt --version`, the Debian package
// gmt-gshhg-low and the us-atlas package.json beside COUNTYDATA, as
// "gmt 6.4.0, gmt-gshhg-low 2.3.7-6, us-atlas 3.0.1" ("none" for one missing).
QString sourceVersions(const QString& countyData);

}  // namespace fd::mapgen
