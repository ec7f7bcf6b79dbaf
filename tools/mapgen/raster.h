#pragma once
// The picture's pixels: black outlines drawn as 8-connected lines (so a fill
// that spreads only between edge-sharing pixels never crosses one), polygons
// filled by pixel centre, white areas found as 4-connected components.
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

namespace fd::mapgen {

QPoint pixelOf(QPointF p);  // the pixel whose centre is nearest

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return w_; }
  int height() const { return h_; }
  bool contains(QPoint p) const { return p.x() >= 0 && p.y() >= 0 && p.x() < w_ && p.y() < h_; }
  bool ink(QPoint p) const { return contains(p) && ink_[index(p)] != 0; }
  // Drawing lands only where the clip allows (everywhere until one is set).
  void setClip(std::function<bool(QPoint)> allowed) { clip_ = std::move(allowed); }
  void dot(QPoint p);
  void erase(QPoint p) {
    if (contains(p)) ink_[index(p)] = 0;
  }
  void line(QPoint a, QPoint b);
  void rectangle(const QRect& r);  // the four sides, one pixel wide
  size_t index(QPoint p) const { return static_cast<size_t>(p.y()) * static_cast<size_t>(w_) + static_cast<size_t>(p.x()); }

 private:
  int w_, h_;
  std::vector<std::uint8_t> ink_;
  std::function<bool(QPoint)> clip_;
};

// The 8-connected pixels from a to b (Bresenham), both ends included.
std::vector<QPoint> linePixels(QPoint a, QPoint b);

// Calls visit for every pixel whose centre lies inside the rings (even-odd).
void fillRings(const std::vector<std::vector<QPointF>>& rings, int width, int height,
               const std::function<void(QPoint)>& visit);

// The 4-connected white areas: an area number per pixel, -1 on ink.
std::vector<int> whiteAreas(const Canvas& canvas, int* count);

// Chamfer distance (3 along an edge, 4 across a corner) from each pixel of
// the set to the nearest pixel outside it; 0 outside.
std::vector<int> depthInside(const std::vector<std::uint8_t>& inSet, int width, int height);

// The areas of a drawing as a grid: each white area numbered, each ink
// pixel given to the nearest area.
std::vector<int> areasOf(const Canvas& drawn);

// Draws the outlines of a grid of areas: a pixel is ink where its right or
// lower neighbour belongs to another area, so two areas never touch along
// an edge. Pixels of the area "skip" (frames, drawn on their own) neither
// get nor cause an outline.
void outline(Canvas& canvas, const std::vector<int>& area, int skip);

// Outline pixels that part nothing (a corner of a staircase, the end of a
// line that leads nowhere) go back to the one area around them, so the
// outlines are the thinnest that still hold a fill. Pixels where keep()
// holds stay.
void slim(Canvas& canvas, const std::function<bool(QPoint)>& keep);

// An area of fewer than `size` pixels inside one other area (a speck of an
// island, a pond) joins that area, unless it holds a pixel where keep() holds.
void dropSpecks(std::vector<int>& area, int width, int height, int size, const std::function<bool(QPoint)>& keep);

// Douglas-Peucker: the fewest points within tolerance of the line, its ends
// kept (so lines that meet at their ends still meet).
std::vector<QPointF> simplified(const std::vector<QPointF>& pts, double tolerance);

}  // namespace fd::mapgen
