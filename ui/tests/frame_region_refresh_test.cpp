// Re-rendering after a frame change: which frames are painted again and in
// which order, the overlap answer, and the scan-area limit of a dragged rectangle.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/global_dib.h"
#include "frames/frame_list.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/frame_region_refresh.h"
#include "ui/preview_geometry.h"

namespace {

class RecordingView : public PreviewRefreshView {
 public:
  std::vector<int32_t> drawnLefts;
  int repaints = 0, samples = 0, navigators = 0;
  void DrawPreviewArea(const WinRect& area) override { drawnLefts.push_back(area.left); }
  void RepaintPreview() override { ++repaints; }
  void SampleDensitometerAtCursor() override { ++samples; }
  void RepaintNavigator() override { ++navigators; }
};

// Scan area 8 x 6 inches on a 400 x 300 preview: 50 pixels an inch.
class FrameRefreshTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 6.0};
    gPreviewClientRect = WinRect{0, 0, 400, 300};
    gPreviewExtentWidth = 8.0;
    gPreviewExtentHeight = 6.0;
    gPreviewZoomed = false;
    SetPreviewOrientation(0, 0, 0);
    ASSERT_TRUE(AllocPreviewBuffers(300, 400));
    // The current frame A, then B overlapping it, C apart, D overlapping it.
    for (const DRect& r : {DRect{1, 1, 2, 2}, DRect{2, 2, 2, 2}, DRect{5, 4, 1, 1}, DRect{2.5, 0.5, 1, 1}})
      AppendFrameNode(NewFrameNode(Frame(r)));
  }
  void TearDown() override {
    DeleteAllFrames();
    FreePreviewBuffers();
    gPreviewLatticeMode = 0;
    gPreviewZoomed = false;
    ResetDataSourceState();
  }
  // A 16-bit RGB frame of the ZIR scan types: its area shows the unprocessed preview.
  static FrameRecord Frame(const DRect& r) {
    FrameRecord f;
    std::memset(&f, 0, sizeof f);
    f.originX = r.x;
    f.originY = r.y;
    f.width = r.width;
    f.height = r.height;
    f.colorMode = 2;
    f.bitsPerChannel = 16;
    f.bitDepthChoice = 1;
    return f;
  }
  const FrameRecord& Current() { return FrameListHead()->frame; }
  RecordingView view;
};

TEST_F(FrameRefreshTest, OtherFramesArePaintedFromTheLastToTheSecondThenTheFrame) {
  const struct {
    uint16_t others;
    bool zoomed;
    std::vector<int32_t> lefts;
  } cases[] = {
      {0, false, {50}},
      {1, false, {125, 100, 50}},        // D and B overlap A, C does not
      {2, false, {125, 250, 100, 50}},   // all, D first
      {2, true, {0}},                    // zoomed: the frame alone, filling the control
  };
  for (const auto& c : cases) {
    view = RecordingView();
    gPreviewZoomed = c.zoomed;
    gZoomBox = DRect{1, 1, 2, 2};
    EXPECT_TRUE(RefreshPreviewAfterFrameChange(Current(), true, true, c.others, view));
    EXPECT_EQ(view.drawnLefts, c.lefts) << c.others;
    EXPECT_EQ(view.samples, 1);
    EXPECT_EQ(view.navigators, 0);
  }
}

TEST_F(FrameRefreshTest, TheAnswerTellsWhetherTheCurrentFrameOverlapsAnother) {
  MakeFrameCurrent(3);  // C: apart from all
  EXPECT_FALSE(RefreshPreviewAfterFrameChange(Current(), false, false, 0, view));
  EXPECT_EQ(view.navigators, 1);
  EXPECT_EQ(view.samples, 0);
}

TEST_F(FrameRefreshTest, TheAreaIsCopiedBackFromTheUnprocessedPreview) {
  FillGlobalDib(gPreviewBaseDib, MakeColorRef(10, 20, 30));
  FillGlobalDib(gPreviewDib, MakeColorRef(200, 200, 200));
  RefreshPreviewAfterFrameChange(Current(), true, false, 0, view);
  const uint8_t* bits = GlobalDibBits(gPreviewDib);
  const uint32_t stride = GlobalDibStride(gPreviewDib);
  EXPECT_EQ(bits[60 * stride + 4 * 60 + 2], 10);    // inside A (50..150)
  EXPECT_EQ(bits[60 * stride + 4 * 160 + 2], 200);  // outside
}

TEST_F(FrameRefreshTest, NothingWhileTheLatticeIsInPlayAndRealTimeCorrectionIsOff) {
  gPreviewLatticeMode = 1;
  SetDefault(gDefaults, kDefaultRealTimeCorrectionOff, uint8_t{1});
  EXPECT_FALSE(RefreshPreviewAfterFrameChange(Current(), true, true, 2, view));
  EXPECT_TRUE(view.drawnLefts.empty());
  EXPECT_EQ(view.samples, 0);
  SetDefault(gDefaults, kDefaultRealTimeCorrectionOff, uint8_t{0});
  RefreshPreviewAfterFrameChange(Current(), true, true, 0, view);
  EXPECT_EQ(view.drawnLefts.size(), 1u);
}

TEST_F(FrameRefreshTest, WithoutBitmapsTheControlIsRepainted) {
  FreePreviewBuffers();
  RefreshPreviewAfterFrameChange(Current(), true, true, 2, view);
  EXPECT_EQ(view.repaints, 1);
  EXPECT_TRUE(view.drawnLefts.empty());
}

TEST_F(FrameRefreshTest, ADraggedRectangleIsLimitedToTheScanArea) {
  const struct {
    WinRect in;
    int handle;
    bool changed;
    WinRect out;
  } cases[] = {
      {{50, 50, 150, 150}, 0, false, {50, 50, 150, 150}},
      {{148, 50, 150, 150}, 8, true, {146, 50, 150, 150}},  // 1 % of 8 inches = 4 pixels; the right side stays
      {{148, 50, 150, 150}, 4, true, {148, 50, 152, 150}},
      {{350, 50, 450, 150}, 0, true, {350, 50, 400, 150}},   // past the right border: x + width = W
  };
  for (const auto& c : cases) {
    WinRect out{};
    EXPECT_EQ(ClampFrameToScanArea(c.in, &out, c.handle), c.changed) << c.in.left;
    EXPECT_EQ(out.left, c.out.left) << c.in.left;
    EXPECT_EQ(out.top, c.out.top);
    EXPECT_EQ(out.right, c.out.right) << c.in.left;
    EXPECT_EQ(out.bottom, c.out.bottom);
  }
}

}  // namespace
