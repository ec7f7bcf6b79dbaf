#pragma once
// The section map's plain parts: the 94 map labels, the fill colour draw, the
// flood fill, and one tick's painting of the worked sections.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <functional>

#include "core/state.h"

namespace fd {

struct MapLabel {
  const char* section;  // the tooltip; label 90 "NWT" is no section
  int left, top, width, height;
  QRect rect() const { return {left, top, width, height}; }
};
extern const std::array<MapLabel, 94> kMapLabels;

inline constexpr int kMapWidth = 479, kMapHeight = 442;

// A label's centre in picture pixels, each half going to the even neighbour.
QPoint labelCentre(const MapLabel& l);

// Uniform numbers from 0 up to 1.
using RandomSource = std::function<double()>;
// Each channel the integer part of r x 254 (never white). Black is drawn
// again: a black area would join the outlines and the next fill would flood
// the whole outline network.
QRgb drawFillColour(const RandomSource& random);

// Fills the 4-connected area of exactly the seed's colour. Nothing happens
// when the seed already has the fill colour (the fill would never end) or
// lies outside the picture.
void floodFill(QImage& image, QPoint seed, QRgb fill);

// One tick: for each section row 1..SecTotal a colour is drawn; a worked
// section (by its count of contacts) fills every map area whose label names it.
void paintWorkedSections(QImage& image, const ProgramState& s, const RandomSource& random);

// The map picture compiled into the program; blank white when unreadable.
QImage loadSectionMapPicture(const QString& resource = QStringLiteral(":/output/sectionmap.png"));

}  // namespace fd
