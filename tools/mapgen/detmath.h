#pragma once
// Sine, cosine and logarithm from plain arithmetic, for the map generator.
// The committed picture must equal the generator's output on every machine,
// and the C library picks its sin, cos and log at run time by the processor's
// features (with or without fused multiply-add), whose last bits may differ.
// These use only +, -, *, / and frexp, which IEEE 754 fixes to the bit; their
// error (about 1e-16) is far below a pixel.
#include <cmath>
#include <numbers>

namespace fd::mapgen::detmath {

// sin and cos of r for |r| <= pi/4 (Taylor series, terms below 1e-18 dropped).
inline double sinSmall(double r) {
  const double r2 = r * r;
  double term = r, sum = r;
  for (int k = 1; k < 12; ++k) {
    term *= -r2 / ((2 * k) * (2 * k + 1));
    sum += term;
  }
  return sum;
}
inline double cosSmall(double r) {
  const double r2 = r * r;
  double term = 1, sum = 1;
  for (int k = 1; k < 12; ++k) {
    term *= -r2 / ((2 * k - 1) * (2 * k));
    sum += term;
  }
  return sum;
}

// Quadrant q (0..3) and remainder r of x = q * pi/2 + r, |r| <= pi/4 (for the
// map's angles, a few radians at most, the plain reduction is exact enough).
inline void reduce(double x, int& q, double& r) {
  constexpr double halfPi = std::numbers::pi / 2;
  const double k = std::nearbyint(x / halfPi);
  r = x - k * halfPi;
  q = static_cast<int>(static_cast<long long>(k) & 3);
}

// sin(x) for shift 0, cos(x) = sin(x + pi/2) for shift 1, by the quadrant.
inline double sinShifted(double x, int shift) {
  int q;
  double r;
  reduce(x, q, r);
  switch ((q + shift) & 3) {
    case 0: return sinSmall(r);
    case 1: return cosSmall(r);
    case 2: return -sinSmall(r);
    default: return -cosSmall(r);
  }
}
inline double sin(double x) { return sinShifted(x, 0); }
inline double cos(double x) { return sinShifted(x, 1); }

// Natural logarithm of x > 0: x = m * 2^e with m in [1/sqrt2, sqrt2), then
// ln m = 2 atanh((m - 1) / (m + 1)) by its series (|s| < 0.18).
inline double log(double x) {
  int e;
  double m = std::frexp(x, &e);  // m in [0.5, 1)
  if (m < std::numbers::sqrt2 / 2) {
    m *= 2;
    --e;
  }
  const double s = (m - 1) / (m + 1), s2 = s * s;
  double term = s, sum = 0;
  for (int k = 1; k < 40; k += 2) {
    sum += term / k;
    term *= s2;
  }
  return 2 * sum + e * std::numbers::ln2;
}

inline double hypot(double x, double y) { return std::sqrt(x * x + y * y); }

}  // namespace fd::mapgen::detmath
