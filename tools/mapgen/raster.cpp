#include "mapgen/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QSet>

#include "mapgen/detmath.h"

namespace fd::mapgen {

QPoint pixelOf(QPointF p) { return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))}; }

Canvas::Canvas(int width, int height) : w_(width), h_(height), ink_(static_cast<size_t>(width * height), 0) {}

void Canvas::dot(QPoint p) {
  if (contains(p) && (!clip_ || clip_(p))) ink_[index(p)] = 1;
}

std::vector<QPoint> linePixels(QPoint a, QPoint b) {
  std::vector<QPoint> out;
  int x = a.x(), y = a.y();
  const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
  const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    out.emplace_back(x, y);
    if (x == b.x() && y == b.y()) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x += sx;
    if (e2 <= dx) err += dx, y += sy;
  }
  return out;
}

void Canvas::line(QPoint a, QPoint b) {
  // Far outside on one side: nothing to draw.
  if ((a.x() < 0 && b.x() < 0) || (a.y() < 0 && b.y() < 0) || (a.x() >= w_ && b.x() >= w_) || (a.y() >= h_ && b.y() >= h_))
    return;
  for (const QPoint& p : linePixels(a, b)) dot(p);
}

void Canvas::rectangle(const QRect& r) {
  line(r.topLeft(), r.topRight());
  line(r.topRight(), r.bottomRight());
  line(r.bottomRight(), r.bottomLeft());
  line(r.bottomLeft(), r.topLeft());
}

void fillRings(const std::vector<std::vector<QPointF>>& rings, int width, int height,
               const std::function<void(QPoint)>& visit) {
  double top = 1e18, bottom = -1e18;
  for (const auto& r : rings)
    for (const QPointF& p : r) top = std::min(top, p.y()), bottom = std::max(bottom, p.y());
  const int y0 = std::max(0, static_cast<int>(std::floor(top))), y1 = std::min(height - 1, static_cast<int>(std::ceil(bottom)));
  std::vector<double> xs;
  for (int y = y0; y <= y1; ++y) {
    const double cy = y + 0.5;
    xs.clear();
    for (const auto& r : rings)
      for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
        const QPointF &a = r[j], &b = r[i];
        if ((a.y() > cy) == (b.y() > cy)) continue;
        xs.push_back(a.x() + (cy - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
      }
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) {
      // Pixels whose centre x + 0.5 lies between the crossings.
      const int x0 = std::max(0, static_cast<int>(std::ceil(xs[k] - 0.5)));
      const int x1 = std::min(width - 1, static_cast<int>(std::floor(xs[k + 1] - 0.5)));
      for (int x = x0; x <= x1; ++x) visit({x, y});
    }
  }
}

std::vector<int> whiteAreas(const Canvas& canvas, int* count) {
  const int w = canvas.width(), h = canvas.height();
  std::vector<int> area(static_cast<size_t>(w * h), -2);
  int next = 0;
  std::vector<QPoint> stack;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QPoint start(x, y);
      if (area[canvas.index(start)] != -2) continue;
      if (canvas.ink(start)) {
        area[canvas.index(start)] = -1;
        continue;
      }
      area[canvas.index(start)] = next;
      stack.assign(1, start);
      while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        for (const QPoint& d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = p + d;
          if (!canvas.contains(q) || area[canvas.index(q)] != -2 || canvas.ink(q)) continue;
          area[canvas.index(q)] = next;
          stack.push_back(q);
        }
      }
      ++next;
    }
  if (count) *count = next;
  return area;
}

std::vector<int> depthInside(const std::vector<std::uint8_t>& inSet, int width, int height) {
  const int big = 1 << 28;
  std::vector<int> d(inSet.size());
  for (size_t i = 0; i < inSet.size(); ++i) d[i] = inSet[i] ? big : 0;
  auto at = [&](int x, int y) { return (x < 0 || y < 0 || x >= width || y >= height) ? 0 : d[static_cast<size_t>(y * width + x)]; };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int& v = d[static_cast<size_t>(y * width + x)];
      if (v == 0) continue;
      v = std::min({v, at(x - 1, y) + 3, at(x, y - 1) + 3, at(x - 1, y - 1) + 4, at(x + 1, y - 1) + 4});
    }
  for (int y = height - 1; y >= 0; --y)
    for (int x = width - 1; x >= 0; --x) {
      int& v = d[static_cast<size_t>(y * width + x)];
      if (v == 0) continue;
      v = std::min({v, at(x + 1, y) + 3, at(x, y + 1) + 3, at(x + 1, y + 1) + 4, at(x - 1, y + 1) + 4});
    }
  return d;
}

std::vector<int> areasOf(const Canvas& drawn) {
  int count = 0;
  std::vector<int> id = whiteAreas(drawn, &count);
  std::vector<QPoint> queue;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x)
      if (id[drawn.index({x, y})] >= 0) queue.emplace_back(x, y);
  for (size_t n = 0; n < queue.size(); ++n) {
    const QPoint p = queue[n];
    for (const QPoint& d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
      const QPoint q = p + d;
      if (!drawn.contains(q) || id[drawn.index(q)] >= 0) continue;
      id[drawn.index(q)] = id[drawn.index(p)];
      queue.push_back(q);
    }
  }
  return id;
}

void outline(Canvas& canvas, const std::vector<int>& area, int skip) {
  const int w = canvas.width(), h = canvas.height();
  auto differs = [&](int here, int x, int y) {
    const int there = area[static_cast<size_t>(y * w + x)];
    return there != here && there != skip;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int here = area[static_cast<size_t>(y * w + x)];
      if (here == skip) continue;
      if ((x + 1 < w && differs(here, x + 1, y)) || (y + 1 < h && differs(here, x, y + 1))) canvas.dot({x, y});
    }
}

void slim(Canvas& canvas, const std::function<bool(QPoint)>& keep) {
  for (int pass = 0; pass < 2; ++pass) {
    int count = 0;
    std::vector<int> id = whiteAreas(canvas, &count);
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x) {
        const QPoint p(x, y);
        if (!canvas.ink(p) || keep(p)) continue;
        int only = -1;
        bool parts = false;
        for (const QPoint& d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = p + d;
          if (!canvas.contains(q) || canvas.ink(q)) continue;
          const int a = id[canvas.index(q)];
          if (only >= 0 && a != only) parts = true;
          only = a;
        }
        if (parts || only < 0) continue;
        canvas.erase(p);  // joins the one area around it, at once: the next pixel sees it
        id[canvas.index(p)] = only;
      }
  }
}

void dropSpecks(std::vector<int>& area, int width, int height, int size, const std::function<bool(QPoint)>& keep) {
  std::vector<std::uint8_t> seen(area.size(), 0);
  std::vector<QPoint> piece;
  auto at = [&](QPoint p) -> int& { return area[static_cast<size_t>(p.y() * width + p.x())]; };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (seen[static_cast<size_t>(y * width + x)]) continue;
      const int id = at({x, y});
      piece.assign(1, QPoint(x, y));
      seen[static_cast<size_t>(y * width + x)] = 1;
      QSet<int> around;
      for (size_t n = 0; n < piece.size() && static_cast<int>(piece.size()) < size; ++n)
        for (const QPoint& d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = piece[n] + d;
          if (q.x() < 0 || q.y() < 0 || q.x() >= width || q.y() >= height) continue;
          if (at(q) != id) {
            around.insert(at(q));
          } else if (!seen[static_cast<size_t>(q.y() * width + q.x())]) {
            seen[static_cast<size_t>(q.y() * width + q.x())] = 1;
            piece.push_back(q);
          }
        }
      if (static_cast<int>(piece.size()) >= size || around.size() != 1 || std::any_of(piece.begin(), piece.end(), keep)) continue;
      for (const QPoint& p : piece) at(p) = *around.begin();
    }
}

std::vector<QPointF> simplified(const std::vector<QPointF>& pts, double tolerance) {
  if (pts.size() < 3) return pts;
  std::vector<bool> keep(pts.size(), false);
  keep.front() = keep.back() = true;
  std::vector<std::pair<size_t, size_t>> spans{{0, pts.size() - 1}};
  while (!spans.empty()) {
    const auto [a, b] = spans.back();
    spans.pop_back();
    const QPointF d = pts[b] - pts[a];
    const double len = detmath::hypot(d.x(), d.y());
    double worst = -1;
    size_t at = a;
    for (size_t i = a + 1; i < b; ++i) {
      const QPointF v = pts[i] - pts[a];
      const double dist = len > 0 ? std::fabs(d.x() * v.y() - d.y() * v.x()) / len : detmath::hypot(v.x(), v.y());
      if (dist > worst) worst = dist, at = i;
    }
    if (worst > tolerance) {
      keep[at] = true;
      spans.push_back({a, at});
      spans.push_back({at, b});
    }
  }
  std::vector<QPointF> out;
  for (size_t i = 0; i < pts.size(); ++i)
    if (keep[i]) out.push_back(pts[i]);
  return out;
}

}  // namespace fd::mapgen
