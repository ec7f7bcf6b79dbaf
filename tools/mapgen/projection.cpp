#include "mapgen/projection.h"

#include <cmath>
#include <numbers>

#include "mapgen/detmath.h"

namespace fd::mapgen {
namespace {

constexpr double kEarthKm = 6371.0;
constexpr double kRad = std::numbers::pi / 180.0;

double kernel(double r2) { return r2 > 0 ? 0.5 * r2 * detmath::log(r2) : 0.0; }  // r^2 ln r

// Solves a x = b in place (Gaussian elimination, partial pivoting); false
// when the matrix is singular.
bool solve(std::vector<double>& a, std::vector<double>& b, size_t n) {
  for (size_t col = 0; col < n; ++col) {
    size_t pivot = col;
    for (size_t r = col + 1; r < n; ++r)
      if (std::fabs(a[r * n + col]) > std::fabs(a[pivot * n + col])) pivot = r;
    if (std::fabs(a[pivot * n + col]) < 1e-12) return false;
    if (pivot != col) {
      for (size_t k = 0; k < n; ++k) std::swap(a[col * n + k], a[pivot * n + k]);
      std::swap(b[col], b[pivot]);
    }
    for (size_t r = col + 1; r < n; ++r) {
      const double f = a[r * n + col] / a[col * n + col];
      if (f == 0) continue;
      for (size_t k = col; k < n; ++k) a[r * n + k] -= f * a[col * n + k];
      b[r] -= f * b[col];
    }
  }
  for (size_t i = n; i-- > 0;) {
    double s = b[i];
    for (size_t k = i + 1; k < n; ++k) s -= a[i * n + k] * b[k];
    b[i] = s / a[i * n + i];
  }
  return true;
}

}  // namespace

Conic::Conic(double lon0, double lat0, double lat1, double lat2) : lon0_(lon0) {
  n_ = (detmath::sin(lat1 * kRad) + detmath::sin(lat2 * kRad)) / 2;
  c_ = detmath::cos(lat1 * kRad) * detmath::cos(lat1 * kRad) + 2 * n_ * detmath::sin(lat1 * kRad);
  rho0_ = kEarthKm * std::sqrt(c_ - 2 * n_ * detmath::sin(lat0 * kRad)) / n_;
}

QPointF Conic::operator()(LonLat p) const {
  const double rho = kEarthKm * std::sqrt(c_ - 2 * n_ * detmath::sin(p.lat * kRad)) / n_;
  const double theta = n_ * (p.lon - lon0_) * kRad;
  return {rho * detmath::sin(theta), rho0_ - rho * detmath::cos(theta)};
}

Placement fitPlacement(const std::vector<QPointF>& km, const std::vector<QPointF>& pixels,
                       const std::vector<double>& weights) {
  double sw = 0;
  QPointF mk, mp;
  for (size_t i = 0; i < km.size(); ++i) {
    const QPointF k(km[i].x(), -km[i].y());
    sw += weights[i];
    mk += weights[i] * k;
    mp += weights[i] * pixels[i];
  }
  mk /= sw;
  mp /= sw;
  double num = 0, den = 0;
  for (size_t i = 0; i < km.size(); ++i) {
    const QPointF k = QPointF(km[i].x(), -km[i].y()) - mk, p = pixels[i] - mp;
    num += weights[i] * (k.x() * p.x() + k.y() * p.y());
    den += weights[i] * (k.x() * k.x() + k.y() * k.y());
  }
  Placement out;
  out.scale = num / den;
  out.dx = mp.x() - out.scale * mk.x();
  out.dy = mp.y() - out.scale * mk.y();
  return out;
}

Warp::Warp(const std::vector<QPointF>& from, const std::vector<QPointF>& to, double smoothing) : from_(from) {
  const size_t n = from.size(), m = n + 3;
  if (n == 0) return;
  std::vector<double> a(m * m, 0.0), bx(m, 0.0), by(m, 0.0);
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = 0; j < n; ++j) {
      const QPointF d = from[i] - from[j];
      a[i * m + j] = kernel(d.x() * d.x() + d.y() * d.y());
    }
    a[i * m + i] += smoothing;
    const double row[3] = {1.0, from[i].x(), from[i].y()};
    for (size_t k = 0; k < 3; ++k) a[i * m + n + k] = a[(n + k) * m + i] = row[k];
    bx[i] = to[i].x() - from[i].x();
    by[i] = to[i].y() - from[i].y();
  }
  std::vector<double> a2 = a;
  if (!solve(a, bx, m) || !solve(a2, by, m)) {
    from_.clear();  // coincident controls: no warp rather than a wild one
    return;
  }
  wx_ = std::move(bx);
  wy_ = std::move(by);
}

QPointF Warp::operator()(QPointF p) const {
  const size_t n = from_.size();
  if (n == 0) return p;
  double dx = wx_[n] + wx_[n + 1] * p.x() + wx_[n + 2] * p.y();
  double dy = wy_[n] + wy_[n + 1] * p.x() + wy_[n + 2] * p.y();
  for (size_t i = 0; i < n; ++i) {
    const QPointF d = p - from_[i];
    const double u = kernel(d.x() * d.x() + d.y() * d.y());
    dx += wx_[i] * u;
    dy += wy_[i] * u;
  }
  return {p.x() + dx, p.y() + dy};
}

double leastJacobian(const std::function<QPointF(QPointF)>& f, double width, double height, double step) {
  double least = 1e9;
  const double h = 0.25;
  for (double y = 0; y <= height; y += step)
    for (double x = 0; x <= width; x += step) {
      const QPointF p(x, y);
      const QPointF fx = (f(p + QPointF(h, 0)) - f(p - QPointF(h, 0))) / (2 * h);
      const QPointF fy = (f(p + QPointF(0, h)) - f(p - QPointF(0, h))) / (2 * h);
      least = std::min(least, fx.x() * fy.y() - fy.x() * fx.y());
    }
  return least;
}

}  // namespace fd::mapgen
