#include "ui/win32/frame_overlay_win32.h"

#include "frames/frame_list.h"
#include "frames/frame_outline_style.h"
#include "frames/win32/frame_outline_win32.h"
#include "session/preview_store.h"
#include "ui/preview_geometry.h"

namespace {

// The animated style of the current frame's marching outline.
uint16_t gCurrentFrameStyle = 0;

void DrawOutline(HDC dc, const FrameRecord& frame, uint16_t style) {
  const Rect16 r = FrameToPreviewRect(frame.originX, frame.originY, frame.width, frame.height, true, nullptr);
  const RECT rect{r.left, r.top, r.right, r.bottom};
  SetFrameDrawStyle(style);
  DrawFrameOutline(dc, &rect);
}

}  // namespace

void DrawAllFrames(HWND previewControl, HDC dc) {
  const FrameListNode* head = FrameListHead();
  if (!head || !previewControl) return;
  HDC own = dc ? dc : GetDC(previewControl);
  DrawOutline(own, head->frame, gCurrentFrameStyle);
  if (!gPreviewZoomed)
    for (const FrameListNode* node = head->next; node; node = node->next) DrawOutline(own, node->frame, kOtherFrameStyle);
  if (!dc) ReleaseDC(previewControl, own);
}
