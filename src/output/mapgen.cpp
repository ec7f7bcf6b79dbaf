#include "output/mapgen.h"

#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <iterator>

#include "output/sectionmap.h"

namespace fd::mapgen {
namespace {

// The mainland, clockwise from the north-west, in picture pixels.
constexpr QPoint kMainland[] = {
    {2, 30},    {60, 14},   {140, 2},   {190, 2},   {240, 14},  {300, 30},  {320, 6},   {345, 10},
    {350, 60},  {400, 90},  {440, 110}, {476, 140}, {476, 180}, {460, 214}, {430, 224}, {420, 232},
    {430, 250}, {420, 262}, {406, 280}, {400, 296}, {388, 316}, {386, 336}, {362, 364}, {352, 384},
    {370, 410}, {366, 434}, {350, 434}, {336, 410}, {322, 400}, {300, 402}, {284, 394}, {266, 406},
    {236, 406}, {222, 420}, {208, 436}, {190, 422}, {176, 398}, {150, 386}, {118, 374}, {96, 372},
    {62, 362},  {40, 348},  {22, 324},  {10, 302},  {4, 256},   {10, 210},  {18, 180},  {14, 150},
    {2, 100},
};
constexpr int kMainlandCorners = static_cast<int>(std::size(kMainland));

// Insets: Alaska lower left, Hawaii right, Puerto Rico and the Virgin Islands lower right.
constexpr std::array<QRect, 3> kInsets = {{QRect(QPoint(4, 374), QPoint(78, 436)), QRect(QPoint(412, 316), QPoint(474, 358)),
                                           QRect(QPoint(390, 366), QPoint(474, 436))}};

constexpr int kOntario = 74;  // ONN; GTA, ONS and ONE paint the same area
bool isOntario(int k) { return k == 74 || k == 91 || k == 92 || k == 93; }

// Point in polygon on doubled coordinates: the pixel centre (2x+1, 2y+1) never
// meets a corner's row, so the crossing count is exact.
bool inMainland(int x, int y) {
  const std::int64_t px = 2 * x + 1, py = 2 * y + 1;
  bool inside = false;
  for (int i = 0, j = kMainlandCorners - 1; i < kMainlandCorners; j = i++) {
    const std::int64_t ax = 2 * kMainland[j].x(), ay = 2 * kMainland[j].y();
    const std::int64_t bx = 2 * kMainland[i].x(), by = 2 * kMainland[i].y();
    if ((ay > py) == (by > py)) continue;
    // Crossing to the right of the point: px < ax + (py - ay) (bx - ax) / (by - ay).
    const std::int64_t lhs = (px - ax) * (by - ay), rhs = (py - ay) * (bx - ax);
    if (by > ay ? lhs < rhs : lhs > rhs) inside = !inside;
  }
  return inside;
}

// Region of a pixel: -1 outside, 0 the mainland, 1..3 an inset.
int regionOf(int x, int y) {
  for (int i = 0; i < 3; ++i)
    if (kInsets[static_cast<size_t>(i)].contains(x, y)) return i + 1;
  return inMainland(x, y) ? 0 : -1;
}

struct Seed {
  QPoint at;
  int area;
  int region;
};

std::vector<Seed> seeds() {
  std::vector<Seed> out;
  for (int k = 0; k < static_cast<int>(kMapLabels.size()); ++k) {
    if (k == 90) continue;  // "NWT": a spot inside a Northwest Territories area
    const QPoint c = labelCentre(kMapLabels[static_cast<size_t>(k)]);
    out.push_back({c, 1 + (isOntario(k) ? kOntario : k), regionOf(c.x(), c.y())});
  }
  return out;
}

}  // namespace

std::vector<int> areaGrid() {
  const std::vector<Seed> all = seeds();
  std::vector<int> grid(static_cast<size_t>(kMapWidth * kMapHeight), 0);
  for (int y = 0; y < kMapHeight; ++y)
    for (int x = 0; x < kMapWidth; ++x) {
      const int region = regionOf(x, y);
      if (region < 0) continue;
      int best = 0;
      std::int64_t bestD = INT64_MAX;
      for (const Seed& s : all) {
        if (s.region != region) continue;
        const std::int64_t dx = x - s.at.x(), dy = y - s.at.y(), d = dx * dx + dy * dy;
        if (d < bestD) bestD = d, best = s.area;
      }
      grid[static_cast<size_t>(y * kMapWidth + x)] = best;
    }
  return grid;
}

QImage generate() {
  const std::vector<int> grid = areaGrid();
  auto area = [&](int x, int y) {
    return x < kMapWidth && y < kMapHeight ? grid[static_cast<size_t>(y * kMapWidth + x)] : 0;
  };
  QImage img(kMapWidth, kMapHeight, QImage::Format_RGB888);
  img.fill(Qt::white);
  for (int y = 0; y < kMapHeight; ++y) {
    uchar* row = img.scanLine(y);
    for (int x = 0; x < kMapWidth; ++x) {
      const int a = area(x, y);
      if (area(x + 1, y) != a || area(x, y + 1) != a) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 0;
    }
  }
  return img;
}

}  // namespace fd::mapgen
