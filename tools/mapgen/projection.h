#pragma once
// From longitude and latitude to picture pixels: an equal-area conic
// projection, a placement (one scale and an offset) fitted by least squares,
// and a smooth warp (a thin-plate spline) that moves chosen points exactly
// onto chosen pixels while the rest of the map follows gently.
#include <QPointF>
#include <functional>
#include <vector>

#include "mapgen/geodata.h"

namespace fd::mapgen {

// Albers equal-area conic on a sphere of the Earth's mean radius; kilometres,
// y to the north.
class Conic {
 public:
  Conic(double lon0, double lat0, double lat1, double lat2);
  QPointF operator()(LonLat p) const;

 private:
  double lon0_, n_, c_, rho0_;
};

// pixel = (scale x + dx, -scale y + dy): the picture's y grows downwards.
struct Placement {
  double scale = 1, dx = 0, dy = 0;
  QPointF operator()(QPointF km) const { return {scale * km.x() + dx, -scale * km.y() + dy}; }
};

// The placement that brings the points nearest to their pixels (weighted
// least squares over scale and offset).
Placement fitPlacement(const std::vector<QPointF>& km, const std::vector<QPointF>& pixels,
                       const std::vector<double>& weights);

// Thin-plate spline through control points: from[i] goes to to[i]; with no
// controls it is the identity.
class Warp {
 public:
  Warp() = default;
  // smoothing 0: exact; larger: a smoother warp that only comes near the
  // controls (a regularised spline).
  Warp(const std::vector<QPointF>& from, const std::vector<QPointF>& to, double smoothing = 0);
  QPointF operator()(QPointF p) const;

 private:
  std::vector<QPointF> from_;
  std::vector<double> wx_, wy_;  // kernel weights, then the affine part (1, x, y)
};

// The smallest Jacobian determinant of a mapping over a grid of the
// rectangle: at or below zero the mapping folds the map over itself.
double leastJacobian(const std::function<QPointF(QPointF)>& f, double width, double height, double step);

}  // namespace fd::mapgen
