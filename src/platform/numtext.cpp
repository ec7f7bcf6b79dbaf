#include "platform/numtext.h"

#include <cmath>

namespace fd::numtext {
namespace {

QString dropZeros(QString t) {
  if (t.contains(u'.')) {
    while (t.endsWith(u'0')) t.chop(1);
    if (t.endsWith(u'.')) t.chop(1);
  }
  return t;
}

QString trimmed(double v, int digits) {
  if (std::isnan(v)) return QStringLiteral("NaN");
  if (std::isinf(v)) return v > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
  if (v == 0) return QStringLiteral("0");
  // Round to the significant digits first; 'g' also drops trailing zeros.
  QString t = QString::number(v, 'g', digits);
  const double mag = std::fabs(v);
  if (t.contains(u'e') && mag < 1e15 && mag >= 1e-15) {
    // Plain notation for every everyday magnitude: 14025000, 0.00001.
    const double rounded = t.toDouble();
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    t = dropZeros(QString::number(rounded, 'f', std::max(0, digits - 1 - exponent)));
  }
  if (t == QLatin1String("-0")) t = QStringLiteral("0");
  return t;
}

}  // namespace

QString fromDouble(double v) { return trimmed(v, 15); }
QString fromSingle(float v) { return trimmed(static_cast<double>(v), 7); }

}  // namespace fd::numtext
