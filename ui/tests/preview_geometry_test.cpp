// Frames in inches against rectangles in the preview control.
#include <gtest/gtest.h>

#include <vector>

#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"
#include "ui/preview_geometry.h"

namespace {

class PreviewGeometry : public testing::Test {
 protected:
  void SetUp() override {
    gPreviewClientRect = WinRect{0, 0, 400, 300};
    gPreviewExtentWidth = 8.0;
    gPreviewExtentHeight = 6.0;
    gZoomBox = DRect{2.0, 1.0, 4.0, 3.0};
    gPreviewZoomed = false;
    SetPreviewOrientation(0, 0, 0);
  }
  void TearDown() override {
    gPreviewZoomed = false;
    SetPreviewOrientation(0, 0, 0);
  }
};

void ExpectRect(const Rect16& r, int top, int left, int bottom, int right) {
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.bottom, bottom);
  EXPECT_EQ(r.right, right);
}

TEST_F(PreviewGeometry, AFullAreaFrameCoversTheControl) {
  ExpectRect(FrameToPreviewPacked(0, 0, 8, 6), 0, 0, 300, 400);
  ExpectRect(FrameToPreviewRect(0, 0, 8, 6, true, nullptr), 0, 0, 300, 400);
  double frame[4];
  PreviewRectToFrame(frame, Rect16{0, 0, 300, 400}, true);
  EXPECT_DOUBLE_EQ(frame[2], 8.0);
  EXPECT_DOUBLE_EQ(frame[3], 6.0);
}

TEST_F(PreviewGeometry, ZoomBoxFillsTheControl) {
  gPreviewZoomed = true;
  ExpectRect(FrameToPreviewPacked(2, 1, 4, 3), 0, 0, 300, 400);
  // A frame outside the box lands outside the control (rounded as everywhere: toward zero from x + 0.5).
  ExpectRect(FrameToPreviewPacked(0, 0, 1, 0.5), -99, -199, -48, -98);
  ExpectRect(FrameToPreviewPacked(7, 5, 1, 1), 400, 500, 500, 600);
  double frame[4];
  PreviewRectToFrame(frame, Rect16{150, 100, 225, 200}, false);
  EXPECT_DOUBLE_EQ(frame[0], 3.0);
  EXPECT_DOUBLE_EQ(frame[1], 2.5);
  EXPECT_DOUBLE_EQ(frame[2], 1.0);
  EXPECT_DOUBLE_EQ(frame[3], 0.75);
}

TEST_F(PreviewGeometry, AQuarterTurnSwapsTheExtentsAndMapsBack) {
  // The control shows the turned area: 300 wide, 400 high.
  gPreviewClientRect = WinRect{0, 0, 300, 400};
  SetPreviewOrientation(0, 0, 1);
  const Rect16 r = FrameToPreviewRect(0, 0, 2, 1, true, nullptr);
  // Unturned the frame is the top-left 100 x 50; turned clockwise it sits at the top right.
  ExpectRect(r, 0, 250, 100, 300);
  double frame[4];
  PreviewRectToFrame(frame, r, true);
  EXPECT_DOUBLE_EQ(frame[0], 0.0);
  EXPECT_DOUBLE_EQ(frame[1], 0.0);
  EXPECT_DOUBLE_EQ(frame[2], 2.0);
  EXPECT_DOUBLE_EQ(frame[3], 1.0);
  // A given area stands in for the control.
  const Rect16 area{0, 0, 800, 600};
  ExpectRect(FrameToPreviewRect(0, 0, 2, 1, false, &area), 0, 0, 100, 200);
}

}  // namespace

namespace {

// The mask's way into the zoomed preview: 50 pixels an inch unzoomed, 100 in the zoom box (2, 1, 4 x 3).
TEST_F(PreviewGeometry, AnUnzoomedRectangleLandsInTheZoomedPreview) {
  const struct {
    bool zoomed;
    int quarterTurns;
    WinRect in, out;
  } cases[] = {
      {false, 0, {100, 50, 200, 125}, {100, 50, 200, 125}},
      {true, 0, {100, 50, 200, 125}, {0, 0, 200, 150}},      // the zoom box's corner, twice the size
      {true, 0, {150, 100, 160, 110}, {100, 100, 120, 120}},
      {true, 0, {0, 0, 50, 25}, {-199, -99, -98, -48}},      // left of and above the box, rounded as frames are
      {true, 1, {150, 100, 160, 110}, {100, 100, 120, 120}},  // the image's axes under a quarter turn too
  };
  for (const auto& c : cases) {
    gPreviewZoomed = c.zoomed;
    SetPreviewOrientation(0, 0, static_cast<uint16_t>(c.quarterTurns));
    gPreviewClientRect = c.quarterTurns ? WinRect{0, 0, 300, 400} : WinRect{0, 0, 400, 300};
    const WinRect r = UnzoomedRectToZoomed(c.in);
    EXPECT_EQ((std::vector<int32_t>{r.left, r.top, r.right, r.bottom}),
              (std::vector<int32_t>{c.out.left, c.out.top, c.out.right, c.out.bottom}))
        << c.in.left << "," << c.in.top << " zoomed " << c.zoomed << " turns " << c.quarterTurns;
  }
}

}  // namespace
