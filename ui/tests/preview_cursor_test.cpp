// The cursor over the preview and the press it announces.
#include <gtest/gtest.h>

#include "frames/frame_hit_test.h"
#include "ui/preview_cursor.h"

namespace {

TEST(PreviewCursor, FilmstripOffsetByOrientationAndShift) {
  struct Case {
    bool flipV, swap;
    uint16_t plain, shifted;
  } cases[] = {{false, false, 415, 416}, {false, true, 418, 417}, {true, false, 416, 415}, {true, true, 417, 418}};
  for (const Case& c : cases) {
    PreviewPointer p{};
    p.flipV = c.flipV;
    p.swapAxes = c.swap;
    const PreviewCursor plain = ChoosePreviewCursor(12, p);
    p.shift = true;
    const PreviewCursor shifted = ChoosePreviewCursor(12, p);
    EXPECT_EQ(plain.cursorId, c.plain) << c.flipV << c.swap;
    EXPECT_EQ(shifted.cursorId, c.shifted) << c.flipV << c.swap;
    EXPECT_EQ(plain.hover, kHoverFilmstrip);
    EXPECT_EQ(shifted.hover, kHoverFilmstripShift);
  }
}

TEST(PreviewCursor, FramesDecideInTheFrameMode) {
  struct Case {
    PreviewPointer pointer;
    uint16_t cursor;
    int16_t hover;
  } cases[] = {
      {{false, false, false, 0, true, false, false}, 227, kHoverCurrentFrame},
      {{false, false, false, 0, true, true, false}, 118, kHoverOtherFrame},
      {{false, false, false, 0, false, true, false}, 118, kHoverOtherFrame},
      {{false, false, false, 0, false, false, false}, 127, kHoverEmpty},
      {{false, false, false, 0, false, false, true}, 0, 0},  // not while a job entry is edited
      {{false, false, false, 3, true, false, false}, 124, kHoverFrameEdge},
      {{false, false, false, 6, true, false, false}, 125, kHoverFrameEdge},
      {{false, false, false, 8, true, false, false}, 126, kHoverFrameEdge},
      {{true, false, false, 0, true, false, false}, 428, 0},  // Shift: the fixed measuring point
  };
  for (const Case& c : cases) {
    const PreviewCursor chosen = ChoosePreviewCursor(0, c.pointer);
    EXPECT_EQ(chosen.cursorId, c.cursor) << c.cursor;
    EXPECT_EQ(chosen.hover, c.hover) << c.cursor;
  }
  EXPECT_EQ(ChoosePreviewCursor(9, PreviewPointer{}).cursorId, 226);
  EXPECT_EQ(ChoosePreviewCursor(11, PreviewPointer{}).cursorId, 124);
}

TEST(FrameHitTest, CornersBeforeEdges) {
  const WinRect frame{100, 100, 200, 160};
  struct Case {
    int32_t x, y;
    int handle;
  } cases[] = {{100, 100, 1}, {103, 96, 1}, {199, 100, 3}, {100, 159, 7}, {203, 163, 5}, {150, 100, 2},
               {150, 160, 6}, {200, 130, 4}, {97, 130, 8},  {150, 130, 0}, {90, 130, 0},  {150, 95, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(HitTestFrameEdge(WinPoint{c.x, c.y}, frame, false), c.handle) << c.x << "," << c.y;
  // With the size locks a corner reaches a quarter of the side along its arms.
  EXPECT_EQ(HitTestFrameEdge(WinPoint{140, 100}, frame, true), 1);
  EXPECT_EQ(HitTestFrameEdge(WinPoint{140, 100}, frame, false), 2);
}

}  // namespace
