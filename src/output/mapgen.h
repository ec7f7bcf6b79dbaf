#pragma once
// Our own schematic section map: a coarse outline of the United States and
// Canada as one polygon, three framed insets (Alaska, Hawaii, Puerto Rico with
// the Virgin Islands), each pixel inside given to the area of its region's
// nearest label centre, and a black one-pixel outline wherever the right or
// lower neighbour lies in another area or outside. All in integer arithmetic,
// so the picture never depends on a rasteriser.
#include <QImage>
#include <vector>

namespace fd::mapgen {

// Area of every pixel, row by row: 0 outside, else 1 + the index of the
// area's first map label (the four Ontario labels share label 74's area).
std::vector<int> areaGrid();
// The picture: 479 x 442, 24-bit, white with black outlines.
QImage generate();

}  // namespace fd::mapgen
