#pragma once
// The section map picture, drawn from public boundary data: the US states
// and counties of the Census Bureau (the us-atlas package) joined into ARRL
// sections, Canada's provinces and territories from GSHHG's borders and
// coasts (read through the gmt program), on an equal-area conic projection
// fitted to the map labels' centres, with framed insets for Alaska, Hawaii,
// and Puerto Rico with the Virgin Islands. Black one-pixel outlines on white.
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace fd::mapgen {

// A pixel the data puts well inside an area: "ON" stands for Ontario, whose
// four sections share one area, "water" for open sea or a great lake, every
// other name is a section's. A label's area must hold anchors of its own
// name and of no other.
struct Anchor {
  QString area;
  QPoint at;
  int label = -1;  // the map label meant for this very area, where the data says (Canada's places)
};

struct MapBuild {
  QString error;  // empty when the picture was drawn
  QImage picture;  // 479 x 442, RGB888
  std::vector<Anchor> anchors;
  // Land area in km2 of each section of the lower 48 states (Maryland with
  // the District of Columbia), summed from the county polygons.
  std::map<QString, double> landKm2;
  QStringList notes;  // the fit, and how the drawing was moved under labels
};

// Where scripts/install-deps puts the county topology.
QString defaultCountyData();

MapBuild build(const QString& countyData = defaultCountyData());

// For a drawing that differs from the committed picture: the versions of the
// data the picture was drawn from, and those found here.
QString versionNote(const QString& countyData = defaultCountyData());

// The area a label's fill belongs to: "ON" for the four Ontario sections,
// "NT" for the label "NWT", else the label's section.
QString areaOfLabel(int label);

}  // namespace fd::mapgen
