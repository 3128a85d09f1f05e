// Lookup tables from control points.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/curves/curve_spline.h"

namespace {

TEST(CurveSpline, DiagonalGivesTheIdentity) {
  const uint16_t x[] = {0, 255};
  const uint16_t y[] = {0, 255};
  std::vector<uint8_t> table(256);
  CurveSpline(x, y, 2, 255, table.data());
  for (int k = 0; k <= 255; ++k) EXPECT_EQ(table[k], k) << "entry " << k;
}

TEST(CurveSpline, EndValue255CountsAsFullScaleExceptInTheWideSpline) {
  const uint16_t x[] = {0, 255};
  const uint16_t y[] = {0, 255};
  std::vector<uint16_t> table(256);
  CurveSpline16(x, y, 2, 255, table.data());
  EXPECT_EQ(table[255], 256);
  EXPECT_EQ(table[128], 128);  // 128 x 256 / 255 = 128.5, truncated

  const int32_t wx[] = {0, 255};
  const int32_t wy[] = {0, 255};
  CurveSplineWide(wx, wy, 2, 255, table.data());
  EXPECT_EQ(table[255], 255);
  EXPECT_EQ(table[128], 128);
}

struct OvershootCase {
  uint16_t x[4];
  uint16_t y[4];
  int from, to;      // entries strictly inside this interval of control points
  uint8_t clamped;   // reach the clamp value somewhere there
};

class CurveSplineOvershoot : public ::testing::TestWithParam<OvershootCase> {};

TEST_P(CurveSplineOvershoot, IsClampedAndControlPointsAreMet) {
  const OvershootCase& c = GetParam();
  std::vector<uint8_t> table(256);
  CurveSpline(c.x, c.y, 4, 255, table.data());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(table[c.x[i]], c.y[i]) << "control point " << i;
  bool reached = false;
  for (int k = c.from + 1; k < c.to; ++k) reached |= table[k] == c.clamped;
  EXPECT_TRUE(reached);
}

INSTANTIATE_TEST_SUITE_P(Curves, CurveSplineOvershoot,
                         ::testing::Values(OvershootCase{{0, 30, 60, 255}, {0, 250, 250, 0}, 30, 60, 255},
                                           OvershootCase{{0, 40, 80, 255}, {0, 254, 0, 10}, 80, 255, 0}));

TEST(CurveSpline, ASinglePointGivesItsValueEverywhere) {
  const uint16_t x[] = {100};
  const uint16_t y[] = {77};
  std::vector<uint8_t> table(17, 1);
  CurveSpline(x, y, 1, 16, table.data());
  for (uint8_t v : table) EXPECT_EQ(v, 77);
}

}  // namespace
