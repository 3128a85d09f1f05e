// The arithmetic of a mouse drag on a frame: anchors, crossing, the tracked
// rectangle, and the size locks with the proportions and the resolution limit.
#include <gtest/gtest.h>

#include <cstring>

#include "frames/frame_hit_test.h"
#include "frames/frame_tracking.h"
#include "state/data_source_state.h"

namespace {

class FrameTrackingTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 10.0};
  }
  void TearDown() override { ResetDataSourceState(); }
};

struct HandleCase {
  int handle;
  WinPoint anchor, handlePoint;
  int axes;
};

// The displayed rectangle 10, 20, 110, 70: centre 60, 45.
TEST(ResizeFrameByHandle, GivesTheOppositeSideAndTheFreeAxes) {
  const HandleCase cases[] = {
      {1, {110, 70}, {10, 20}, kAxesBoth},       {2, {60, 70}, {60, 20}, kAxesVertical},
      {3, {10, 70}, {110, 20}, kAxesBoth},       {4, {10, 45}, {110, 45}, kAxesHorizontal},
      {5, {10, 20}, {110, 70}, kAxesBoth},       {6, {60, 20}, {60, 70}, kAxesVertical},
      {7, {110, 20}, {10, 70}, kAxesBoth},       {8, {110, 45}, {10, 45}, kAxesHorizontal},
  };
  for (const HandleCase& c : cases) {
    WinPoint anchor, point;
    int axes = -1;
    ResizeFrameByHandle(&anchor, &point, &axes, c.handle, 10, 20, 110, 70);
    EXPECT_EQ(anchor.x, c.anchor.x) << c.handle;
    EXPECT_EQ(anchor.y, c.anchor.y) << c.handle;
    EXPECT_EQ(point.x, c.handlePoint.x) << c.handle;
    EXPECT_EQ(point.y, c.handlePoint.y) << c.handle;
    EXPECT_EQ(axes, c.axes) << c.handle;
  }
}

TEST(CursorCrossedAnchor, OnlyAlongAFreeAxis) {
  const struct {
    WinPoint press, cursor;
    int axes;
    bool crossed;
  } cases[] = {
      {{10, 20}, {50, 30}, kAxesBoth, false},        // still left of and above the anchor
      {{10, 20}, {111, 30}, kAxesBoth, true},        // past the anchor's x
      {{10, 20}, {110, 30}, kAxesBoth, false},       // on the anchor: not greater
      {{10, 20}, {50, 71}, kAxesBoth, true},         // past its y
      {{10, 45}, {50, 90}, kAxesHorizontal, false},  // y is not free for the left edge
      {{60, 20}, {200, 30}, kAxesVertical, false},   // x is not free for the top edge
      {{60, 20}, {60, 80}, kAxesVertical, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CursorCrossedAnchor(c.press, c.cursor, WinPoint{110, 70}, c.axes), c.crossed)
        << c.cursor.x << "," << c.cursor.y;
}

TEST(TrackedRect, RunsFromTheAnchorAndKeepsTheFixedAxis) {
  const WinRect client{0, 0, 200, 150};
  const WinRect frame{10, 20, 110, 70};
  const struct {
    WinPoint anchor, cursor;
    int axes;
    WinRect expected;
  } cases[] = {
      {{110, 70}, {30, 40}, kAxesBoth, {30, 40, 110, 70}},
      {{10, 45}, {150, 0}, kAxesHorizontal, {10, 20, 150, 70}},
      {{60, 20}, {0, 100}, kAxesVertical, {10, 20, 110, 100}},
      {{10, 20}, {250, 170}, kAxesBoth, {10, 20, 200, 150}},  // clipped to the client
      {{10, 20}, {-5, 5}, kAxesBoth, {0, 5, 10, 20}},         // ordered
  };
  for (const auto& c : cases) {
    const WinRect r = TrackedRect(c.anchor, c.cursor, c.axes, frame, client);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

TEST(ApplyCornerRatio, MovesTheFreeSideAndStopsAtTheClient) {
  const WinRect client{0, 0, 200, 150};
  WinRect r{10, 20, 110, 100};
  ASSERT_TRUE(ApplyCornerRatio(&r, 1, 1.5, client));  // 100 / 1.5 = 66.7, truncated
  EXPECT_EQ(r.top, 100 - 66);
  r = WinRect{10, 20, 110, 100};
  ASSERT_TRUE(ApplyCornerRatio(&r, 5, 2.0, client));
  EXPECT_EQ(r.bottom, 70);
  r = WinRect{10, 100, 310, 140};
  EXPECT_FALSE(ApplyCornerRatio(&r, 7, 1.0, client));  // the bottom would be 400
  EXPECT_EQ(r.bottom, 140);
}

TEST(DragSizeOfHandle, EdgesChangeOneSideAndSwapWithTheAxes) {
  EXPECT_EQ(DragSizeOfHandle(2, false), DragSize::kHeight);
  EXPECT_EQ(DragSizeOfHandle(6, false), DragSize::kHeight);
  EXPECT_EQ(DragSizeOfHandle(4, false), DragSize::kWidth);
  EXPECT_EQ(DragSizeOfHandle(8, false), DragSize::kWidth);
  EXPECT_EQ(DragSizeOfHandle(2, true), DragSize::kWidth);
  EXPECT_EQ(DragSizeOfHandle(8, true), DragSize::kHeight);
  for (int corner : {1, 3, 5, 7}) EXPECT_EQ(DragSizeOfHandle(corner, true), DragSize::kBoth);
}

TEST_F(FrameTrackingTest, ACornerKeepsTheStartRatioAndStopsAtTheBottom) {
  // Ratio 2 (w0 / h0): a 3-inch width gives a 1.5-inch height.
  DRect r{1, 1, 3, 9};
  KeepCornerRatio(&r, 2.0, false, 5);
  EXPECT_DOUBLE_EQ(r.height, 1.5);
  EXPECT_DOUBLE_EQ(r.width, 3.0);
  // At y = 9 only one inch is left below: the height stops at the bottom.
  r = DRect{1, 9, 4, 0.5};
  KeepCornerRatio(&r, 2.0, false, 5);
  EXPECT_DOUBLE_EQ(r.height, 1.0);
  EXPECT_DOUBLE_EQ(r.y + r.height, 10.0);
  // Swapped axes: the width follows the height.
  r = DRect{1, 1, 5, 3};
  KeepCornerRatio(&r, 0.5, true, 5);
  EXPECT_DOUBLE_EQ(r.width, 6.0);
  EXPECT_DOUBLE_EQ(r.height, 3.0);
}

// Clamps every scale to at most 400 percent, as a resolution list would.
bool ClampTo400(float* scale, int16_t) {
  if (*scale <= 400.0f) return false;
  *scale = 400.0f;
  return true;
}

FrameRecord LockedFrame(double x, double width) {
  FrameRecord f;
  std::memset(&f, 0, sizeof f);
  f.originX = x;
  f.originY = 1.0;
  f.width = width;
  f.height = 2.0;
  f.outputScaleX = f.outputScaleY = 100.0f;
  f.outputResolution = 300;
  return f;
}

TEST_F(FrameTrackingTest, TheWidthLockScalesTheOutputWithTheWidth) {
  FrameRecord f = LockedFrame(2.0, 4.0);
  const TrackStart start = TakeTrackStart(f, false);
  const DRect before{2.0, 1.0, 4.0, 2.0};
  f.originX = 3.0;
  f.width = 3.0;  // the left edge dragged one inch inwards
  EXPECT_FALSE(ApplySizeLockScales(&f, start, before, DragSize::kWidth, 8, 8, SizeLocks{true, false, false},
                                   ClampTo400));
  EXPECT_FLOAT_EQ(f.outputScaleX, 100.0f * 4.0f / 3.0f);
  EXPECT_FLOAT_EQ(f.outputScaleY, 100.0f);  // no link
  EXPECT_DOUBLE_EQ(f.width, 3.0);

  f = LockedFrame(2.0, 4.0);
  f.originX = 3.0;
  f.width = 3.0;
  ApplySizeLockScales(&f, start, before, DragSize::kWidth, 8, 8, SizeLocks{true, false, true}, ClampTo400);
  EXPECT_FLOAT_EQ(f.outputScaleY, 100.0f * 4.0f / 3.0f);  // the link follows
}

TEST_F(FrameTrackingTest, AtTheResolutionLimitTheFrameStopsAndTheOppositeSideStays) {
  // The left edge dragged to a 0.5-inch width would need 800 %: the clamp
  // stops at 400 %, so the width is 1 inch and the right side (6) stays.
  FrameRecord f = LockedFrame(2.0, 4.0);
  const TrackStart start = TakeTrackStart(f, false);
  const DRect before{4.0, 1.0, 2.0, 2.0};
  f.originX = 5.5;
  f.width = 0.5;
  EXPECT_TRUE(ApplySizeLockScales(&f, start, before, DragSize::kWidth, 8, 8, SizeLocks{true, false, false},
                                  ClampTo400));
  EXPECT_FLOAT_EQ(f.outputScaleX, 400.0f);
  EXPECT_DOUBLE_EQ(f.width, 1.0);
  EXPECT_DOUBLE_EQ(f.originX + f.width, 6.0);

  // Handle 4 (the right edge) keeps the origin; handle 7 moves only x, 3 only y.
  const struct {
    int frameHandle;
    double x, y;
  } origins[] = {{4, 5.5, 1.0}, {5, 5.5, 1.0}, {7, 5.0, 1.0}, {3, 5.5, 1.0}, {1, 5.0, 1.0}};
  for (const auto& o : origins) {
    f = LockedFrame(2.0, 4.0);
    f.originX = 5.5;
    f.width = 0.5;
    ApplySizeLockScales(&f, start, before, DragSize::kWidth, o.frameHandle, 8, SizeLocks{true, false, false},
                        ClampTo400);
    EXPECT_DOUBLE_EQ(f.originX, o.x) << o.frameHandle;
    EXPECT_DOUBLE_EQ(f.originY, o.y) << o.frameHandle;
  }
}

TEST(KeepOppositeSides, PutsBackTheSidesAwayFromTheHandle) {
  const WinRect previous{10, 20, 110, 70};
  const struct {
    int handle;
    WinRect expected;
  } cases[] = {
      {1, {0, 0, 110, 70}}, {2, {0, 0, 110, 70}}, {8, {0, 0, 110, 70}}, {3, {10, 0, 99, 70}},
      {7, {0, 20, 110, 99}}, {4, {0, 0, 99, 99}}, {5, {0, 0, 99, 99}},   {6, {0, 0, 99, 99}},
  };
  for (const auto& c : cases) {
    WinRect r{0, 0, 99, 99};
    KeepOppositeSides(&r, previous, c.handle);
    EXPECT_EQ(r.left, c.expected.left) << c.handle;
    EXPECT_EQ(r.top, c.expected.top) << c.handle;
    EXPECT_EQ(r.right, c.expected.right) << c.handle;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.handle;
  }
}

}  // namespace

namespace {

TEST(HitTestFrameEdge, TheCornerZoneEndsFourPixelsIn) {
  const WinRect frame{100, 100, 200, 160};
  EXPECT_EQ(HitTestFrameEdge(WinPoint{103, 103}, frame, false), 1);
  EXPECT_EQ(HitTestFrameEdge(WinPoint{104, 104}, frame, false), 0);
  EXPECT_EQ(HitTestFrameEdge(WinPoint{104, 103}, frame, false), 2);  // still on the top edge
}

}  // namespace
