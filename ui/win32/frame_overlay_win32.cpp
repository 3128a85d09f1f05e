#include "ui/win32/frame_overlay_win32.h"

#include "foundation/win32/gdi_helpers_win32.h"
#include "frames/frame_list.h"
#include "frames/frame_outline_style.h"
#include "frames/win32/frame_outline_win32.h"
#include "session/preview_store.h"
#include "tone/point_marker_set.h"
#include "tone/tone_curve.h"
#include "ui/palette_state.h"
#include "ui/preview_cursor.h"
#include "ui/preview_pipette.h"
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

constexpr int kFocusMarkerBitmap = 188;

// Inverts where the source is black, keeps where it is white: NOT (source XOR destination).
constexpr DWORD kInvertUnderBlack = 0x00990066;

SIZE MarkerSize(int bitmapId) {
  SIZE size{0, 0};
  if (HBITMAP bitmap = LoadBitmapResource(bitmapId)) {
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    size = SIZE{info.bmWidth, info.bmHeight};
    DeleteObject(bitmap);
  }
  return size;
}

// The marker centred on the point, its black strokes ANDed onto the preview.
void DrawMarker(HDC dc, int bitmapId, POINT centre) {
  const SIZE size = MarkerSize(bitmapId);
  BlitBitmapResource(dc, bitmapId, centre.x - size.cx / 2, centre.y - size.cy / 2, SRCAND);
}

// Focus mode 1: the frame's centre; modes 2 and 3: the focus point rectangle's.
void DrawFrameFocusMarker(HDC dc, const FrameRecord& frame) {
  if (frame.focusMode < 1 || frame.focusMode > 3) return;
  const double* f = frame.focusRect;
  const Rect16 r = frame.focusMode == 1
                       ? FrameToPreviewRect(frame.originX, frame.originY, frame.width, frame.height, true, nullptr)
                       : FrameToPreviewRect(f[0], f[1], f[2], f[3], true, nullptr);
  DrawMarker(dc, kFocusMarkerBitmap, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// While the neutral pipette is chosen: where the frame's neutral points lie.
void DrawPipettePointMarkers(HWND control, const FrameRecord& frame) {
  if (gPreviewToolMode != kPipetteToolMode || gPipetteKind != kPipetteNeutral) return;
  FrameRecord copy = frame;
  ToneCurve curve(kFrameCurvePoints);
  LoadCurvePointsFromFrame(&copy, &curve);
  PointMarkerSet markers(kNeutralPointMarkerIds, kNeutralPointMarkers);
  markers.SetMarkersFromCurve(&curve);
  for (int16_t i = 0; i < markers.count(); ++i) markers.DrawMarker(control, i);
}

}  // namespace

SIZE FocusMarkerBitmapSize() { return MarkerSize(kFocusMarkerBitmap); }

void InvertFocusMarkerAt(HDC dc, int x, int y) { BlitBitmapResource(dc, kFocusMarkerBitmap, x, y, kInvertUnderBlack); }

uint16_t CurrentFrameAnimatedStyle() { return gCurrentFrameStyle; }

void AnimateCurrentFrameOutline(HWND previewControl) {
  const FrameListNode* head = FrameListHead();
  if (!head || !previewControl) return;
  HDC dc = GetDC(previewControl);
  DrawOutline(dc, head->frame, gCurrentFrameStyle);
  gCurrentFrameStyle = static_cast<uint16_t>((gCurrentFrameStyle + 1) % 8);
  DrawOutline(dc, head->frame, gCurrentFrameStyle);
  ReleaseDC(previewControl, dc);
}

void DrawAllFrames(HWND previewControl, HDC dc) {
  const FrameListNode* head = FrameListHead();
  if (!head || !previewControl) return;
  DrawPipettePointMarkers(previewControl, head->frame);
  HDC own = dc ? dc : GetDC(previewControl);
  DrawOutline(own, head->frame, gCurrentFrameStyle);
  DrawFrameFocusMarker(own, head->frame);
  if (!gPreviewZoomed)
    for (const FrameListNode* node = head->next; node; node = node->next) DrawOutline(own, node->frame, kOtherFrameStyle);
  if (!dc) ReleaseDC(previewControl, own);
}
