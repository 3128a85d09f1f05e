// The mouse loops of frame editing, run as a person drags: each step a
// cursor point with the buttons and keys held, read through the system
// services. Scan area 8 x 6 inches on a 400 x 300 preview: 50 pixels an inch.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/scripted_system.h"
#include "foundation/system.h"
#include "frames/frame_list.h"
#include "records/defaults_block.h"
#include "frames/frame_panel.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/frame_drag_drop.h"
#include "ui/frame_mouse_edit.h"
#include "ui/preview_cursor.h"
#include "ui/palette_state.h"
#include "ui/pending_field_edit.h"
#include "ui/preview_geometry.h"
#include "ui/preview_pipette.h"
#include "ui/tests/frame_list_fixture.h"

namespace {

class RecordingEditView : public FrameEditView {
 public:
  int outlines = 0, overlays = 0, areas = 0;
  bool open = false;
  WinPoint ScreenToControl(WinPoint screen) override { return screen; }
  bool BeginOutlines() override { return open = true; }
  void InvertOutline(const WinRect&) override {
    EXPECT_TRUE(open);
    ++outlines;
  }
  void EndOutlines() override { open = false; }
  void DrawAllFrames() override { ++overlays; }
  void SetFrameCursor() override {}
  int markers = 0;
  WinRect lastMarker{};
  WinPoint FocusMarkerSize() override { return WinPoint{15, 15}; }
  void InvertFocusMarker(const WinRect& rect) override {
    EXPECT_TRUE(open);
    ++markers;
    lastMarker = rect;
  }
  std::vector<WinRect> lines;  // every inverted line marker, in order
  void InvertLineMarker(const WinRect& rect) override {
    EXPECT_TRUE(open);
    lines.push_back(rect);
  }
  std::vector<uint16_t> cursors;
  void ShowCursor(uint16_t cursorId) override { cursors.push_back(cursorId); }
  void DrawPreviewArea(const WinRect&) override { ++areas; }
  void RepaintPreview() override {}
  void SampleDensitometerAtCursor() override {}
  void RepaintNavigator() override {}
};

struct Step {
  int32_t x, y;
  bool held;
  std::set<int> keys = {};  // held besides the button
};

class FrameMouseEditTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 6.0};
    gPreviewClientRect = WinRect{10, 10, 410, 310};
    gPreviewExtentWidth = 8.0;
    gPreviewExtentHeight = 6.0;
    gPreviewZoomed = false;
    gFrameSizeLocks = SizeLocks{};
    SetPreviewOrientation(0, 0, 0);
    ASSERT_TRUE(AllocPreviewBuffers(300, 400));
    gScanFrame.colorMode = 2;
    gScanFrame.bitsPerChannel = 8;
    gScanFrame.outputScaleX = gScanFrame.outputScaleY = 100.0f;
    gScanFrame.outputResolution = 300;
    // The current frame A (pixels 50-150), then B (200-300 x 150-250).
    AppendFramesAt({DRect{1, 1, 2, 2}, DRect{4, 3, 2, 2}});
  }
  void TearDown() override {
    DeleteAllFrames();
    FreePreviewBuffers();
    gFrameSizeLocks = SizeLocks{};
    gPreviewToolMode = 0;
    gPreviewZoomed = false;
    ResetDataSourceState();
  }
  // A press at (x, y), then the steps; the last step releases the button.
  void Drag(int32_t x, int32_t y, const std::vector<Step>& steps) {
    system->keysDown = {kVirtualKeyLeftButton};
    system->cursor = WinPoint{x, y};
    for (const Step& s : steps) {
      std::set<int> keys = s.keys;
      if (s.held) keys.insert(kVirtualKeyLeftButton);
      system->inputSteps.push_back({WinPoint{s.x, s.y}, keys});
    }
    PressOnPreview(WinPoint{x, y}, view);
    EXPECT_FALSE(view.open);
  }
  static const FrameRecord& Current() { return FrameListHead()->frame; }
  static void ExpectRect(const FrameRecord& f, double x, double y, double w, double h) {
    EXPECT_NEAR(f.originX, x, 1e-9);
    EXPECT_NEAR(f.originY, y, 1e-9);
    EXPECT_NEAR(f.width, w, 1e-9);
    EXPECT_NEAR(f.height, h, 1e-9);
  }
  ScopedScriptedSystem system;
  RecordingEditView view;
};

TEST_F(FrameMouseEditTest, ADragOnFreeSpaceDrawsANewCurrentFrame) {
  Drag(320, 40, {{340, 60, true}, {370, 90, true}, {370, 90, false}});
  ASSERT_EQ(CountFrames(), 3);
  ExpectRect(Current(), 6.4, 0.8, 1.0, 1.0);
  EXPECT_EQ(view.outlines, 3);  // drawn, erased, drawn
  EXPECT_GT(view.areas, 0);     // re-rendered
}

TEST_F(FrameMouseEditTest, ANewFrameTakesTheDeviceDefaultsUnlessASettingsRecordIsChosen) {
  gScanFrame.filterMode = 3;
  gScanFrame.focusMode = 2;
  gScanFrame.autoLampBrightness = 7;
  Drag(320, 40, {{370, 90, true}, {370, 90, false}});
  ASSERT_EQ(CountFrames(), 3);
  // The image file has no filter, focus or lamp option; the focus point is the preview's centre pixel.
  EXPECT_EQ(Current().filterMode, 1);
  EXPECT_EQ(Current().focusMode, 0);
  EXPECT_EQ(Current().autoLampBrightness, 0);
  const double* focus = Current().focusRect;
  EXPECT_NEAR(focus[0], 4.0, 1e-9);  // pixel 200 of 400 over 8 inches
  EXPECT_NEAR(focus[1], 3.0, 1e-9);  // pixel 150 of 300 over 6 inches
  EXPECT_NEAR(focus[2], 0.02, 1e-9);

  SetDefault(gDefaults, kDefaultSettingsRecordId, uint32_t{5});
  Drag(320, 140, {{370, 190, true}, {370, 190, false}});
  ASSERT_EQ(CountFrames(), 4);
  EXPECT_EQ(Current().filterMode, 3);
  EXPECT_EQ(Current().focusMode, 2);
  EXPECT_EQ(Current().autoLampBrightness, 7);
}

TEST_F(FrameMouseEditTest, ANewFrameUnderSixPixelsIsDroppedWithoutTrace) {
  for (const Step& end : {Step{325, 140, false}, Step{370, 45, false}}) {
    Drag(320, 40, {{end.x, end.y, true}, end});
    ASSERT_EQ(CountFrames(), 2);
    ExpectRect(Current(), 1, 1, 2, 2);  // A is current again
    EXPECT_EQ(view.outlines % 2, 0);    // its outline erased
  }
}

TEST_F(FrameMouseEditTest, TheBottomRightCornerResizesTheFrame) {
  Drag(150, 150, {{200, 160, true}, {250, 200, true}, {250, 200, false}});
  ExpectRect(Current(), 1, 1, 4, 3);
  EXPECT_EQ(CountFrames(), 2);
}

TEST_F(FrameMouseEditTest, TheLeftEdgeBelowTheSmallestWidthKeepsTheRightSide) {
  Drag(50, 100, {{149, 100, true}, {149, 100, false}});
  ExpectRect(Current(), 2.92, 1, 0.08, 2);  // 1 % of 8 inches, ending at 3 as before
}

TEST_F(FrameMouseEditTest, CrossingTheAnchorLeavesTheFrameAsAtTheStepBefore) {
  Drag(50, 100, {{100, 100, true}, {160, 100, true}, {200, 100, false}});
  ExpectRect(Current(), 2, 1, 1, 2);
}

TEST_F(FrameMouseEditTest, ACornerWithTheWidthLockKeepsTheRatioAndScalesTheOutput) {
  gFrameSizeLocks = SizeLocks{true, false, false};
  Drag(150, 150, {{250, 170, true}, {250, 170, false}});
  ExpectRect(Current(), 1, 1, 4, 4);
  EXPECT_FLOAT_EQ(Current().outputScaleX, 50.0f);
  EXPECT_FLOAT_EQ(Current().outputScaleY, 100.0f);
  // Further down, the ratio would leave the preview: the outline stays.
  Drag(250, 250, {{380, 260, true}, {380, 260, false}});
  ExpectRect(Current(), 1, 1, 4, 4);
}

TEST_F(FrameMouseEditTest, APressOnAnotherFrameMakesItCurrent) {
  Drag(250, 200, {});
  ExpectRect(Current(), 4, 3, 2, 2);
  EXPECT_EQ(CountFrames(), 2);
  EXPECT_GT(view.overlays, 0);
}

TEST_F(FrameMouseEditTest, DeletingTheCurrentFrameRestoresItsAreaAndTheNextBecomesCurrent) {
  FillGlobalDib(gPreviewBaseDib, MakeColorRef(10, 20, 30));
  FillGlobalDib(gPreviewDib, MakeColorRef(200, 200, 200));
  DeleteCurrentFrameInteractive(view);
  ASSERT_EQ(CountFrames(), 1);
  ExpectRect(Current(), 4, 3, 2, 2);
  const uint8_t* bits = GlobalDibBits(gPreviewDib);
  const uint32_t stride = GlobalDibStride(gPreviewDib);
  EXPECT_EQ(bits[60 * stride + 4 * 60 + 2], 10);    // A's area: the unprocessed preview
  EXPECT_EQ(bits[10 * stride + 4 * 380 + 2], 200);  // outside every frame: untouched
  DeleteCurrentFrameInteractive(view);
  DeleteCurrentFrameInteractive(view);  // the empty list: nothing
  EXPECT_EQ(CountFrames(), 0);
}

TEST_F(FrameMouseEditTest, FreeSpaceWithAltCopiesTheFrameAndWithCtrlDoesNothing) {
  system->keysDown = {kVirtualKeyLeftButton, 0x12};
  PressOnPreview(WinPoint{350, 30}, view);
  ASSERT_EQ(CountFrames(), 3);
  ExpectRect(FrameListHead()->next->frame, 1, 1, 2, 2);  // the copy, behind the current frame
  system->keysDown = {kVirtualKeyLeftButton, 0x11};
  PressOnPreview(WinPoint{350, 30}, view);
  EXPECT_EQ(CountFrames(), 3);
}

TEST_F(FrameMouseEditTest, TheFocusMarkerSetsTheFocusPointInFocusMode) {
  gPreviewToolMode = 9;
  Drag(100, 100, {{120, 110, true}, {300, 200, true}, {300, 200, false}});
  EXPECT_EQ(gPreviewToolMode, 0);
  EXPECT_EQ(view.markers % 2, 0);  // every marker drawn was erased
  EXPECT_EQ(view.lastMarker.left, 293);
  const double* focus = Current().focusRect;
  EXPECT_NEAR(focus[0] + focus[2] / 2, 6.0, 0.02);  // centred on the cursor: 300 / 50 inches
  EXPECT_NEAR(focus[1] + focus[3] / 2, 4.0, 0.02);
  EXPECT_NEAR(focus[2], 0.3, 1e-9);
  // Near the border the marker stays inside the preview.
  gPreviewToolMode = 9;
  Drag(100, 100, {{399, 299, true}, {399, 299, false}});
  EXPECT_NEAR(Current().focusRect[0] + Current().focusRect[2], 8.0, 1e-9);
}

TEST_F(FrameMouseEditTest, TheLineMarkerFollowsTheCursorAlongTheAxesTheKeysLeave) {
  constexpr int kShift = 0x10, kCtrl = 0x11;
  const struct {
    int32_t mode;
    int quarterTurns;
    std::vector<Step> steps;
    std::vector<uint16_t> cursors;
    WinRect line;  // where it ended, control coordinates
  } cases[] = {
      // Across the preview at the press, moved down by the cursor's way; sideways it stays inside.
      {10, 0, {{130, 160, true}, {130, 160, false}}, {124}, {0, 160, 400, 161}},
      // Shift: up and down only.
      {11, 0, {{150, 140, true, {kShift}}, {150, 140, false, {kShift}}}, {125}, {0, 140, 400, 141}},
      // Ctrl: sideways only, which leaves a line across the preview where it was.
      {10, 0, {{150, 170, true, {kCtrl}}, {150, 170, false, {kCtrl}}}, {126}, {0, 60, 400, 61}},
      // Letting go of the key frees the marker again.
      {10, 0, {{120, 90, true, {kCtrl}}, {140, 90, true}, {140, 90, false}}, {126, 124}, {0, 90, 400, 91}},
      // A quarter turn swaps the axes: the line stands upright, and with Shift it cannot go sideways.
      {10, 1, {{150, 140, true, {kShift}}, {130, 140, true}, {130, 140, false}}, {125, 124}, {130, 0, 131, 400}},
      // Not past the border.
      {11, 0, {{100, 900, true}, {100, 900, false}}, {124}, {0, 299, 400, 300}},
  };
  for (const auto& c : cases) {
    SetPreviewOrientation(0, 0, static_cast<uint16_t>(c.quarterTurns));
    gPreviewClientRect = c.quarterTurns % 2 ? WinRect{10, 10, 310, 410} : WinRect{10, 10, 410, 310};
    view.lines.clear();
    view.cursors.clear();
    gPreviewToolMode = c.mode;
    const WinPoint press = c.quarterTurns % 2 ? WinPoint{100, 100} : WinPoint{100, 60};
    Drag(press.x, press.y, c.steps);
    EXPECT_EQ(gPreviewToolMode, 0);
    ASSERT_GE(view.lines.size(), 2u);
    EXPECT_EQ(view.lines.size() % 2, 0u) << "every line drawn was erased";
    const WinRect& last = view.lines.back();
    EXPECT_EQ((std::vector<int32_t>{last.left, last.top, last.right, last.bottom}),
              (std::vector<int32_t>{c.line.left, c.line.top, c.line.right, c.line.bottom}))
        << c.mode << " " << c.steps.front().x << "," << c.steps.front().y;
    EXPECT_EQ(view.cursors, c.cursors);
    ExpectRect(Current(), 1, 1, 2, 2);  // no frame is drawn or moved
    EXPECT_EQ(CountFrames(), 2);
  }
}

TEST_F(FrameMouseEditTest, TheLineComesBackInInchesOfTheScanArea) {
  system->keysDown = {kVirtualKeyLeftButton};
  system->inputSteps.push_back({WinPoint{200, 150}, {kVirtualKeyLeftButton}});
  double inches[4];
  ASSERT_TRUE(DragPreviewLine(WinPoint{200, 100}, view, inches));
  EXPECT_NEAR(inches[0], 0.0, 1e-9);
  EXPECT_NEAR(inches[1], 3.0, 1e-9);  // row 150 of 300 over 6 inches
  EXPECT_NEAR(inches[2], 8.0, 1e-9);
  EXPECT_NEAR(inches[3], 0.02, 1e-9);
  EXPECT_FALSE(DragPreviewLine(WinPoint{450, 100}, view, inches)) << "outside the preview";
}

TEST_F(FrameMouseEditTest, AZoomedDragOffersMoveOnly) {
  EXPECT_EQ(FrameDragEffects(), kDropEffectCopy | kDropEffectMove);
  gPreviewZoomed = true;
  EXPECT_EQ(FrameDragEffects(), kDropEffectMove);
}

TEST_F(FrameMouseEditTest, APressOneSecondAfterTypingPutsTheFieldBackInsteadOfActing) {
  system->ticks = 5000;
  NotePendingFieldEdit(true, 1036);
  system->ticks = 6000;
  system->keysDown = {kVirtualKeyLeftButton, 0x12};
  PressOnPreview(WinPoint{350, 30}, view);  // with Alt on free space: would copy the frame
  EXPECT_EQ(CountFrames(), 2);
  EXPECT_EQ(system->beeps.size(), 1u);
  EXPECT_EQ(gPendingEditId, kNoPendingEdit);
  PressOnPreview(WinPoint{350, 30}, view);  // nothing pending now: the press acts
  EXPECT_EQ(CountFrames(), 3);
}

TEST_F(FrameMouseEditTest, APipetteClickOnADarkBlockSetsTheBlackEndPoints) {
  FillGlobalDib(gPreviewBaseDib, MakeColorRef(200, 200, 200));
  FillGlobalDib(gPreviewDib, MakeColorRef(200, 200, 200));
  uint8_t* bits = GlobalDibBits(gPreviewBaseDib);
  const uint32_t stride = GlobalDibStride(gPreviewBaseDib);
  for (int y = 80; y < 120; ++y)
    for (int x = 80; x < 120; ++x) {
      bits[y * stride + 4 * x] = 50;       // blue
      bits[y * stride + 4 * x + 1] = 40;   // green
      bits[y * stride + 4 * x + 2] = 30;   // red
    }
  for (ToneBlock& block : gCurrentFrame->tone) block.inputHigh = 256;
  SetDefault<uint8_t>(gDefaults, kDefaultLivePreview, 1);
  gPreviewToolMode = kPipetteToolMode;
  gPipetteKind = kPipetteBlack;
  PressOnPreview(WinPoint{100, 100}, view);
  EXPECT_EQ(Current().tone[1].inputLow, 30);
  EXPECT_EQ(Current().tone[2].inputLow, 40);
  EXPECT_EQ(Current().tone[3].inputLow, 50);
  EXPECT_EQ(CountFrames(), 2) << "the click draws no frame";
  EXPECT_GE(view.overlays, 2) << "the overlay is erased and drawn again around the re-render";
}

}  // namespace
