// The cursor over the main window's preview and what a press there will act on.
#pragma once

#include <cstdint>

// What lies under the cursor (gPreviewHoverTarget): 1 empty preview area,
// 2 inside the current frame, 3 another frame, 4 an edge or corner of the
// current frame; 1001 and 1002 the filmstrip offset without and with Shift.
enum : int16_t {
  kHoverEmpty = 1,
  kHoverCurrentFrame = 2,
  kHoverOtherFrame = 3,
  kHoverFrameEdge = 4,
  kHoverFilmstrip = 1001,
  kHoverFilmstripShift = 1002,
};
extern int16_t gPreviewHoverTarget;
// What a press on the preview does: 0 frames, 8 curve-point pick, 9 focus
// point, 10 focus line, 11 white line, 12 filmstrip offset.
extern int32_t gPreviewToolMode;
// The cursor of the special modes: 429 or 430 for the half of the extremes
// button last hovered with Shift (its brightest or darkest point), or the
// cursor of the curve-point pick.
enum : uint16_t { kCursorBrightestPoint = 429, kCursorDarkestPoint = 430 };
extern uint16_t gSpecialCursorId;

struct PreviewPointer {
  bool shift;
  bool flipV;      // the preview orientation's vertical flip
  bool swapAxes;   // and its axis swap
  int edge;        // HitTestFrameEdge on the current frame (inflated by 4), 0 none
  bool inCurrentFrame;
  bool onOtherFrame;
  bool editingJobEntry;
};
struct PreviewCursor {
  uint16_t cursorId;  // 0: none chosen
  int16_t hover;      // 0: unchanged
};
// The cursor inside the preview control for the tool mode.
PreviewCursor ChoosePreviewCursor(int32_t toolMode, const PreviewPointer& pointer);
