// The fixed measuring points between inches and preview pixels, and the
// extremes button's point.
#include <gtest/gtest.h>

#include "foundation/global_dib.h"
#include "foundation/scripted_system.h"
#include "frames/frame_list.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/marked_points.h"
#include "ui/preview_geometry.h"
#include "ui/tests/frame_list_fixture.h"

namespace {

class MarkedPoints : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 6.0};
    gPreviewExtentWidth = 8.0;
    gPreviewExtentHeight = 6.0;
    gPreviewClientRect = WinRect{10, 20, 410, 320};  // 400 x 300; only the size counts
    gZoomBox = DRect{2.0, 1.0, 4.0, 3.0};
    gPreviewZoomed = false;
    SetPreviewOrientation(0, 0, 0);
  }
  void TearDown() override {
    FreePreviewBuffers();
    DeleteAllFrames();
    gPreviewZoomed = false;
    SetPreviewOrientation(0, 0, 0);
    ResetDataSourceState();
  }
};

TEST_F(MarkedPoints, ConvertBetweenInchesAndPreviewPixels) {
  const struct {
    bool zoomed;
    uint16_t quarterTurns;
    double x, y;
    int32_t px, py;
  } cases[] = {
      {false, 0, 2.0, 1.5, 100, 75},
      {false, 0, 0.011, 0.0, 1, 0},    // 0.55 rounds up
      {false, 0, 0.009, 0.0, 0, 0},    // 0.45 rounds down
      {true, 0, 3.0, 2.5, 100, 150},   // inside the zoom box
      {false, 1, 2.0, 3.0, 75, 200},   // the image is 300 wide and 400 high
  };
  for (const auto& c : cases) {
    SetPreviewOrientation(0, 0, c.quarterTurns);
    gPreviewZoomed = c.zoomed;
    gMarkedPoints[2].x = c.x;
    gMarkedPoints[2].y = c.y;
    MarkedPointsToPreview(2);
    EXPECT_EQ(gMarkedPoints[2].px, c.px) << c.x;
    EXPECT_EQ(gMarkedPoints[2].py, c.py) << c.y;
    gMarkedPoints[2].x = gMarkedPoints[2].y = -1.0;
    MarkedPointsFromPreview(2);
    EXPECT_NEAR(gMarkedPoints[2].x, c.px * (c.zoomed ? 4.0 : 8.0) / (c.quarterTurns ? 300 : 400) + (c.zoomed ? 2.0 : 0.0),
                1e-12);
    EXPECT_NEAR(gMarkedPoints[2].y, c.py * (c.zoomed ? 3.0 : 6.0) / (c.quarterTurns ? 400 : 300) + (c.zoomed ? 1.0 : 0.0),
                1e-12);
  }
}

TEST_F(MarkedPoints, OneIndexConvertsOnePointAndTheAllIndexEvery) {
  for (MarkedPoint& p : gMarkedPoints) p = MarkedPoint{true, 4.0, 3.0, -1, -1};
  MarkedPointsToPreview(1);
  EXPECT_EQ(gMarkedPoints[0].px, -1);
  EXPECT_EQ(gMarkedPoints[1].px, 200);
  EXPECT_EQ(gMarkedPoints[3].px, -1);
  MarkedPointsToPreview(kAllMarkedPoints);
  for (const MarkedPoint& p : gMarkedPoints) {
    EXPECT_EQ(p.px, 200);
    EXPECT_EQ(p.py, 150);
  }
}

// A grey preview of 400 x 300 with one bright and one dark pixel inside the
// frame (1..3 inches = 50..150 pixels) and brighter and darker ones outside it.
class ExtremePoints : public MarkedPoints {
 protected:
  void SetUp() override {
    MarkedPoints::SetUp();
    ASSERT_TRUE(AllocPreviewBuffers(300, 400));
    FillGlobalDib(gPreviewDib, MakeColorRef(100, 100, 100));
    Paint(120, 60, 240);
    Paint(70, 140, 10);
    Paint(300, 200, 255);
    Paint(20, 20, 0);
    AppendFramesAt({DRect{1, 1, 2, 2}});
  }
  static void Paint(int32_t x, int32_t y, uint8_t v) {
    uint8_t* p = GlobalDibBits(gPreviewDib) + y * GlobalDibStride(gPreviewDib) + x * 4;
    p[0] = p[1] = p[2] = v;
  }
  ScopedScriptedSystem system_;
};

TEST_F(ExtremePoints, TakeTheFirstFreePointsUntilAllFourAreSet) {
  gMarkedPoints[0].set = true;
  PlaceExtremeFixedPoint(true);
  PlaceExtremeFixedPoint(false);
  EXPECT_TRUE(system_->beeps.empty());
  const MarkedPoint& bright = gMarkedPoints[1];
  EXPECT_TRUE(bright.set);
  EXPECT_EQ(bright.px, 120);
  EXPECT_EQ(bright.py, 60);
  EXPECT_DOUBLE_EQ(bright.x, 2.4);
  EXPECT_DOUBLE_EQ(bright.y, 1.2);
  const MarkedPoint& dark = gMarkedPoints[2];
  EXPECT_TRUE(dark.set);
  EXPECT_DOUBLE_EQ(dark.x, 1.4);
  EXPECT_DOUBLE_EQ(dark.y, 2.8);
  PlaceExtremeFixedPoint(true);
  EXPECT_TRUE(gMarkedPoints[3].set);
  // All four are used: a beep, and nothing moves.
  PlaceExtremeFixedPoint(false);
  EXPECT_EQ(system_->beeps.size(), 1u);
  EXPECT_DOUBLE_EQ(gMarkedPoints[3].x, 2.4);
}

TEST_F(ExtremePoints, WithoutAPreviewOnlyBeep) {
  FreePreviewBuffers();
  PlaceExtremeFixedPoint(true);
  EXPECT_EQ(system_->beeps.size(), 1u);
  for (const MarkedPoint& p : gMarkedPoints) EXPECT_FALSE(p.set);
}

}  // namespace
