#include "frames/frame_tracking.h"

#include <algorithm>
#include <utility>

#include "frames/frame_limits.h"
#include "state/data_source_state.h"

namespace {

bool SetsLeftAndTop(int handle) { return handle == 1 || handle == 2 || handle == 8; }

}  // namespace

void ResizeFrameByHandle(WinPoint* anchor, WinPoint* handlePoint, int* axes, int handle, int32_t left, int32_t top,
                         int32_t right, int32_t bottom) {
  // Per handle: the anchor's and the handle's x and y, and the free axes.
  struct Ends {
    int32_t ax, ay, hx, hy;
    int axes;
  };
  const int32_t cx = left + (right - left) / 2, cy = top + (bottom - top) / 2;
  const Ends ends[9] = {
      {left, top, left, top, kAxesBoth},           {right, bottom, left, top, kAxesBoth},
      {cx, bottom, cx, top, kAxesVertical},         {left, bottom, right, top, kAxesBoth},
      {left, cy, right, cy, kAxesHorizontal},       {left, top, right, bottom, kAxesBoth},
      {cx, top, cx, bottom, kAxesVertical},         {right, top, left, bottom, kAxesBoth},
      {right, cy, left, cy, kAxesHorizontal},
  };
  const Ends& e = ends[handle >= 1 && handle <= 8 ? handle : 0];
  *anchor = WinPoint{e.ax, e.ay};
  *handlePoint = WinPoint{e.hx, e.hy};
  *axes = e.axes;
}

bool CursorCrossedAnchor(WinPoint press, WinPoint cursor, WinPoint anchor, int axes) {
  const bool crossedX = (cursor.x > anchor.x) != (press.x > anchor.x);
  const bool crossedY = (cursor.y > anchor.y) != (press.y > anchor.y);
  return (axes != kAxesVertical && crossedX) || (axes != kAxesHorizontal && crossedY);
}

WinRect NormalizeClipRect(WinRect r, const WinRect& bounds) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  r.left = std::max(r.left, bounds.left);
  r.top = std::max(r.top, bounds.top);
  r.right = std::min(r.right, bounds.right);
  r.bottom = std::min(r.bottom, bounds.bottom);
  return r;
}

WinRect TrackedRect(WinPoint anchor, WinPoint cursor, int axes, const WinRect& previous, const WinRect& client) {
  WinRect r = previous;
  if (axes != kAxesVertical) {
    r.left = anchor.x;
    r.right = cursor.x;
  }
  if (axes != kAxesHorizontal) {
    r.top = anchor.y;
    r.bottom = cursor.y;
  }
  return NormalizeClipRect(r, client);
}

bool IsCornerHandle(int handle) { return handle == 1 || handle == 3 || handle == 5 || handle == 7; }

bool ApplyCornerRatio(WinRect* r, int handle, double ratio, const WinRect& client) {
  const int32_t height = static_cast<int32_t>((r->right - r->left) / ratio);
  if (handle == 1 || handle == 3) {
    if (r->bottom - height < client.top) return false;
    r->top = r->bottom - height;
  } else {
    if (r->top + height > client.bottom) return false;
    r->bottom = r->top + height;
  }
  return true;
}

DragSize DragSizeOfHandle(int displayedHandle, bool swapAxes) {
  if (IsCornerHandle(displayedHandle)) return DragSize::kBoth;
  const bool horizontalEdge = displayedHandle == 2 || displayedHandle == 6;
  return horizontalEdge != swapAxes ? DragSize::kHeight : DragSize::kWidth;
}

TrackStart TakeTrackStart(const FrameRecord& frame, bool swapAxes) {
  TrackStart s{frame.outputScaleX, frame.outputScaleY, frame.width, frame.height, 1.0};
  s.ratio = swapAxes ? frame.height / frame.width : frame.width / frame.height;
  return s;
}

void KeepCornerRatio(DRect* r, double ratio, bool swapAxes, int displayedHandle) {
  DRect fit = *r;
  if (swapAxes)
    fit.width = std::min(fit.height / ratio, gScanAreaInches.width - fit.x);
  else
    fit.height = std::min(fit.width / ratio, gScanAreaInches.height - fit.y);
  DRect limited = fit;
  if (LimitFrameRect(&limited.x, &limited.y, &limited.width, &limited.height, displayedHandle)) {
    fit = *r;
    if (swapAxes)
      fit.height = fit.width * ratio;
    else
      fit.width = fit.height * ratio;
  }
  *r = fit;
}

bool ApplySizeLockScales(FrameRecord* frame, const TrackStart& start, const DRect& before, DragSize size,
                         int frameHandle, int displayedHandle, SizeLocks locks, ScaleClamp clamp) {
  const float byWidthX = static_cast<float>(start.scaleX * start.width / frame->width);
  const float byWidthY = static_cast<float>(start.scaleY * start.width / frame->width);
  const float byHeightX = static_cast<float>(start.scaleX * start.height / frame->height);
  const float byHeightY = static_cast<float>(start.scaleY * start.height / frame->height);
  switch (size) {
    case DragSize::kWidth:
      if (locks.width) frame->outputScaleX = byWidthX;
      if (locks.link && !locks.height) frame->outputScaleY = byWidthY;
      break;
    case DragSize::kHeight:
      if (locks.height) frame->outputScaleY = byHeightY;
      if (locks.link && !locks.width) frame->outputScaleX = byHeightX;
      break;
    case DragSize::kBoth:
      if (locks.height || locks.link) frame->outputScaleY = byHeightY;
      if (locks.width || locks.link) frame->outputScaleX = byWidthX;
      break;
  }
  float scaleX = frame->outputScaleX;
  float scaleY = frame->outputScaleY;
  const bool changedX = clamp(&scaleX, frame->outputResolution);
  const bool changedY = clamp(&scaleY, frame->outputResolution);
  if (!changedX && !changedY) return false;
  frame->outputScaleX = scaleX;
  frame->outputScaleY = scaleY;
  // The sizes that keep the output size at the clamped scales.
  if (size != DragSize::kWidth) frame->height = start.scaleY * start.height / scaleY;
  if (size != DragSize::kHeight) frame->width = start.scaleX * start.width / scaleX;
  if (SetsLeftAndTop(frameHandle) || frameHandle == 7) frame->originX = before.x + before.width - frame->width;
  if (SetsLeftAndTop(frameHandle) || frameHandle == 3) frame->originY = before.y + before.height - frame->height;
  LimitFrameRect(&frame->originX, &frame->originY, &frame->width, &frame->height, displayedHandle);
  return true;
}

void KeepOppositeSides(WinRect* r, const WinRect& previous, int displayedHandle) {
  const bool keepRight = SetsLeftAndTop(displayedHandle) || displayedHandle == 7;
  const bool keepLeft = displayedHandle == 3;
  const bool keepBottom = SetsLeftAndTop(displayedHandle) || displayedHandle == 3;
  const bool keepTop = displayedHandle == 7;
  if (keepRight) r->right = previous.right;
  if (keepLeft) r->left = previous.left;
  if (keepBottom) r->bottom = previous.bottom;
  if (keepTop) r->top = previous.top;
}
