#include "ui/preview_cursor.h"

int16_t gPreviewHoverTarget = 0;
int32_t gPreviewToolMode = 0;
uint16_t gSpecialCursorId = 0;

namespace {

// The filmstrip offset cursors by vertical flip and axis swap; Shift takes the other of each pair.
uint16_t FilmstripCursor(bool flipV, bool swapAxes, bool shift) {
  static const uint16_t kCursors[2][2][2] = {{{415, 416}, {418, 417}}, {{416, 415}, {417, 418}}};
  return kCursors[flipV][swapAxes][shift];
}

uint16_t EdgeCursor(int edge) { return edge == 2 || edge == 6 ? 125 : edge == 4 || edge == 8 ? 126 : 124; }

}  // namespace

PreviewCursor ChoosePreviewCursor(int32_t toolMode, const PreviewPointer& p) {
  switch (toolMode) {
    case 12:
      return {FilmstripCursor(p.flipV, p.swapAxes, p.shift), p.shift ? kHoverFilmstripShift : kHoverFilmstrip};
    case 9:
      return {226, 0};
    case 10:
    case 11:
      return {124, 0};
    default:
      break;
  }
  if (p.shift) return {428, 0};
  if (p.edge != 0) return {EdgeCursor(p.edge), kHoverFrameEdge};
  if (p.inCurrentFrame && !p.onOtherFrame) return {227, kHoverCurrentFrame};
  if (p.onOtherFrame) return {118, kHoverOtherFrame};
  if (p.editingJobEntry) return {0, 0};
  return {127, kHoverEmpty};
}
