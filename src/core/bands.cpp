#include "core/bands.h"

namespace fd {

namespace {
struct Range {
  float lo, hi;
  const char* band;
};
constexpr Range kRanges[] = {
    {1.7999f, 2.0001f, "160"},   {3.4999f, 4.0001f, "80"},    {6.9999f, 7.3001f, "40"},
    {13.9999f, 14.3501f, "20"},  {20.9999f, 21.4501f, "15"},  {27.9999f, 29.7001f, "10"},
    {49.9999f, 54.0001f, "6"},   {143.9999f, 148.0001f, "2"}, {218.9999f, 225.0001f, "1.25"},
    {419.9999f, 450.0001f, "70"}, {901.9999f, 928.0001f, "33"}, {1239.9999f, 1300.0001f, "23"},
};
}  // namespace

QString bandOfFrequency(float mhz) {
  for (const Range& r : kRanges)
    if (mhz > r.lo && mhz < r.hi) return QString::fromLatin1(r.band);
  return {};
}

bool bandHasRange(const QString& band) {
  for (const Range& r : kRanges)
    if (band == QLatin1String(r.band)) return true;
  return false;
}

}  // namespace fd
