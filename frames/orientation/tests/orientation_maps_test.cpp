// Rectangle and point mappings between image and preview.
#include <gtest/gtest.h>

#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"

namespace {

TEST(OrientationMaps, QuarterTurnMovesAPointClockwise) {
  const int W = 7, H = 4;
  const PixelRect bounds = {0, 0, W, H};
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      PixelPoint p = {x, y};
      MapPointToPreview(&p, &bounds, 0, 0, 1);
      EXPECT_EQ(p.x, H - 1 - y);
      EXPECT_EQ(p.y, x);
    }
  }
}

TEST(OrientationMaps, QuarterTurnExchangesWidthAndHeight) {
  const PixelRect bounds = {10, 20, 110, 70};
  PixelRect r = {15, 25, 45, 35};  // 30 x 10
  MapRectToPreview(&r, &bounds, 0, 0, 1);
  EXPECT_EQ(r.right - r.left, 10);
  EXPECT_EQ(r.bottom - r.top, 30);
  PixelRect s = {1, 2, 4, 9};
  SwapRectExtent(&s);
  EXPECT_EQ(s.left, 1);
  EXPECT_EQ(s.top, 2);
  EXPECT_EQ(s.right, 8);
  EXPECT_EQ(s.bottom, 5);
}

class OrientationRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(OrientationRoundTrip, EachMapFollowedByItsInverseGivesTheStart) {
  const int row = GetParam();
  const OrientationFlags& f = OrientationTableRow(row >> 3 & 1, row >> 2 & 1, row & 3);
  const PixelRect boundsList[] = {{0, 0, 640, 480}, {-30, 12, 290, 97}};
  for (const PixelRect& bounds : boundsList) {
    const PixelRect rects[] = {{0, 0, 1, 1}, {bounds.left + 3, bounds.top + 5, bounds.left + 40, bounds.top + 9}, bounds};
    for (const PixelRect& start : rects) {
      PixelRect r = start;
      MapRectToPreview(&r, &bounds, f.flipX, f.flipY, f.quarterTurn);
      MapRectFromPreview(&r, &bounds, f.flipX, f.flipY, f.quarterTurn);
      EXPECT_EQ(r.left, start.left);
      EXPECT_EQ(r.top, start.top);
      EXPECT_EQ(r.right, start.right);
      EXPECT_EQ(r.bottom, start.bottom);
    }
    const PixelPoint points[] = {{bounds.left, bounds.top}, {bounds.left + 17, bounds.top + 3},
                                 {bounds.right - 1, bounds.bottom - 1}};
    for (const PixelPoint& start : points) {
      PixelPoint p = start;
      MapPointToPreview(&p, &bounds, f.flipX, f.flipY, f.quarterTurn);
      MapPointFromPreview(&p, &bounds, f.flipX, f.flipY, f.quarterTurn);
      EXPECT_EQ(p.x, start.x);
      EXPECT_EQ(p.y, start.y);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All16, OrientationRoundTrip, ::testing::Range(0, 16));

}  // namespace
