#include "ui/frame_region_refresh.h"

#include <algorithm>
#include <vector>

#include "foundation/global_dib.h"
#include "frames/frame_limits.h"
#include "frames/frame_list.h"
#include "frames/frame_region_paint.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/preview_geometry.h"

namespace {

WinRect ToWinRect(const Rect16& r) { return WinRect{r.left, r.top, r.right, r.bottom}; }

bool Overlap(const FrameRecord& a, const FrameRecord& b) {
  return Rect16Intersects(FrameImageRect(a), FrameImageRect(b));
}

// The frame's area in the bitmaps, which clip only at the right and bottom.
WinRect BitmapArea(const FrameRecord& frame) {
  WinRect area = ToWinRect(FrameImageRect(frame));
  area.left = std::max(area.left, 0);
  area.top = std::max(area.top, 0);
  return area;
}

}  // namespace

Rect16 FrameImageRect(const FrameRecord& frame) {
  return FrameToPreviewRect(frame.originX, frame.originY, frame.width, frame.height, false, nullptr);
}

void RedrawFrameRegion(const FrameRecord& frame, PreviewRefreshView& view) {
  const WinRect area = BitmapArea(frame);
  CopyGlobalDibRect(gPreviewBaseDib, gPreviewDib, area);
  PaintFrameRegion(gPreviewDib, frame, area, RegionPaintOptions{0});
  view.DrawPreviewArea(area);
}

void RestoreFrameArea(const FrameRecord& frame, PreviewRefreshView& view) {
  if (!gPreviewDib || !gPreviewBaseDib) return view.RepaintPreview();
  const WinRect area = BitmapArea(frame);
  CopyGlobalDibRect(gPreviewBaseDib, gPreviewDib, area);
  view.DrawPreviewArea(area);
}

bool RefreshPreviewAfterFrameChange(const FrameRecord& frame, bool a, bool b, uint16_t others,
                                    PreviewRefreshView& view) {
  if (gPreviewLatticeMode != 0 && GetDefault(gDefaults, kDefaultRealTimeCorrectionOff) != 0) return false;
  if (gPreviewZoomed) others = 0;
  const FrameListNode* head = FrameListHead();
  if (!gPreviewDib || !gPreviewBaseDib) {
    if (head) view.RepaintPreview();
    return false;
  }
  bool overlaps = false;
  std::vector<const FrameRecord*> rest;
  for (const FrameListNode* node = head ? head->next : nullptr; node; node = node->next) {
    overlaps = overlaps || Overlap(head->frame, node->frame);
    rest.push_back(&node->frame);
  }
  // From the last up to the second: frames nearer the head are painted later.
  if (others != 0)
    for (auto it = rest.rbegin(); it != rest.rend(); ++it)
      if (others >= 2 || Overlap(**it, frame)) RedrawFrameRegion(**it, view);
  RedrawFrameRegion(frame, view);
  if (b) view.SampleDensitometerAtCursor();
  if (!a) view.RepaintNavigator();
  return overlaps;
}

bool ClampFrameToScanArea(const WinRect& in, WinRect* out, int handle) {
  Rect16 packed;
  RectToRect16(in, &packed);
  double r[4];
  PreviewRectToFrame(r, packed, true);
  if (!LimitFrameRect(&r[0], &r[1], &r[2], &r[3], handle)) {
    *out = in;
    return false;
  }
  *out = ToWinRect(FrameToPreviewRect(r[0], r[1], r[2], r[3], true, nullptr));
  return true;
}
