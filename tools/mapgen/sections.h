#pragma once
// Which section each piece of the map belongs to: US counties by state and
// county (the public ARRL section descriptions), and Canadian places, one
// inside each province or territory area the map shows.
#include <QString>
#include <vector>

#include "mapgen/geodata.h"

namespace fd::mapgen {

// The section of a county by its FIPS code and name; empty for the
// territories the map does not show (Guam, American Samoa, the Marianas).
QString sectionOfCounty(const QString& fips, const QString& name);

// Every county of a divided state named by exactly one section, and every
// named county present: the first problem found, or empty.
QString checkCountyTable(const std::vector<County>& counties);

// A point well inside a Canadian area. label: the map label over the area
// (-1: an area no label names).
struct Place {
  int label;
  const char* section;
  const char* name;
  LonLat at;
};
extern const std::vector<Place> kCanadaPlaces;

// Open water: no label's area may reach these.
extern const std::vector<LonLat> kWaterPlaces;

}  // namespace fd::mapgen
