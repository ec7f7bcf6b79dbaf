// The privileges chart's geometry from "BandPlan.txt" edges.
#include <gtest/gtest.h>

#include <limits>

#include "rig/bandplan.h"

namespace fd::rig {
namespace {

TEST(SegmentPlace, OnItsBarAndHeldWithinReachForEdgesAHairApart) {
  const struct {
    float low, high, segLow, segHigh;
    int left, width;
  } rows[] = {
      {3.5f, 4.0f, 3.5f, 4.0f, 100, 800},          // the whole band
      {3.5f, 4.0f, 3.75f, 4.0f, 500, 400},         // its upper half
      {0, 1e-30f, 0, 1, 100, 1000000},             // edges a hair apart
      {0, 1e-30f, -1, 0, -1000000, 1000000},       // and a segment below them
      {-3e38f, 3e38f, -3e38f, 3e38f, 100, 0},      // edges past single precision's span
  };
  for (const auto& r : rows) {
    PrivilegeRow row{QStringLiteral("20"), r.low, r.high, {}};
    const SegmentPlace p = segmentPlace(row, {r.segLow, r.segHigh, true}, 100, 800);
    EXPECT_EQ(p.left, r.left) << r.low << " " << r.high << " " << r.segLow;
    EXPECT_EQ(p.width, r.width) << r.low << " " << r.high << " " << r.segLow;
  }
}

}  // namespace
}  // namespace fd::rig
