#include "ui/frame_mouse_edit.h"

#include "foundation/system.h"
#include "frames/frame_hit_test.h"
#include "frames/frame_limits.h"
#include "frames/frame_list.h"
#include "frames/frame_panel.h"
#include "frames/frame_record_init.h"
#include "frames/frame_tracking.h"
#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "tone/tone_engine_state.h"
#include "tone/tone_working_copy.h"
#include "ui/frame_drag_drop.h"
#include "ui/main_dialog_support.h"
#include "ui/pending_field_edit.h"
#include "ui/preview_cursor.h"
#include "ui/preview_geometry.h"
#include "ui/preview_pipette.h"

namespace {

constexpr int32_t kSmallestNewFrame = 6;  // pixels either way
constexpr uint32_t kIdleStepMs = 5;
constexpr int kVirtualKeyControl = 0x11;
constexpr int kVirtualKeyAlt = 0x12;
constexpr int kVirtualKeyShift = 0x10;
constexpr uint16_t kCursorFree = 124, kCursorUpDown = 125, kCursorSideways = 126;
constexpr int32_t kFocusPointMode = 9;
constexpr int32_t kFocusLineMode = 10;
constexpr int32_t kWhiteLineMode = 11;

WinRect ToWinRect(const Rect16& r) { return WinRect{r.left, r.top, r.right, r.bottom}; }

WinRect DisplayedRect(const FrameRecord& f) {
  return ToWinRect(FrameToPreviewRect(f.originX, f.originY, f.width, f.height, true, nullptr));
}

// The control's client rectangle: only its size counts.
WinRect ControlClient() { return WinRect{0, 0, RectWidth(gPreviewClientRect), RectHeight(gPreviewClientRect)}; }

// The press point in the image's axes, against which the frame's own sides are named.
WinPoint UnorientedPoint(WinPoint p) {
  WinRect client = ControlClient();
  if (OrientationSwapAxes()) client = WinRect{0, 0, client.bottom, client.right};
  const PixelRect bounds{0, 0, client.right, client.bottom};
  PixelPoint point{p.x, p.y};
  MapPointFromPreview(&point, &bounds, OrientationFlipX(), OrientationFlipY(), OrientationSwapAxes());
  return WinPoint{point.x, point.y};
}

void TakeDisplayedRect(FrameRecord* f, const WinRect& r) {
  Rect16 packed;
  RectToRect16(r, &packed);
  double inches[4];
  PreviewRectToFrame(inches, packed, true);
  f->originX = inches[0];
  f->originY = inches[1];
  f->width = inches[2];
  f->height = inches[3];
}

bool SameRect(const WinRect& a, const WinRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Inside(WinPoint p, const WinRect& r) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool AllSizeLocks() { return gFrameSizeLocks.width && gFrameSizeLocks.height && gFrameSizeLocks.link; }

// The tone tools follow the current frame: channels 1-3 of an RGB frame, else the master.
void ToneToolsFollowCurrentFrame() {
  const FrameRecord* f = gCurrentFrame;
  if (!f) return;
  gToneChannelMask = f->colorMode == kColorModeRgb ? kToneMaskAllColors : kToneMaskMaster;
  LoadToneWorkingCopy();
}

void ShowFrameFields(bool dataSize) {
  ShowScaleFields();
  ShowOutputSize();
  ShowOriginalSize();
  if (dataSize) ShowDataSize();
}

// The cursor in control coordinates, read with the buttons of this step.
WinPoint NextCursor(FrameEditView& view) { return view.ScreenToControl(CursorScreenPosition()); }

// One drag step of TrackFrameWithMouse.
struct Tracking {
  FrameRecord* frame;
  TrackStart start;
  SizeLocks locks;
  bool swapAxes;
  int shownHandle, frameHandle, axes;
  WinPoint press, anchor;
  WinRect client, previous;

  bool LockedCorner() const { return locks.Active() && IsCornerHandle(shownHandle); }

  // The new outline, or false when the step changes nothing.
  bool Step(WinPoint cursor, WinRect* outline) {
    if (CursorCrossedAnchor(press, cursor, anchor, axes)) return false;
    WinRect r = TrackedRect(anchor, cursor, axes, previous, client);
    if (LockedCorner() && !ApplyCornerRatio(&r, shownHandle, start.ratio, client)) r = previous;
    WinRect limited;
    ClampFrameToScanArea(NormalizeClipRect(r, client), &limited, shownHandle);
    if (SameRect(limited, previous)) return false;
    const DRect before{frame->originX, frame->originY, frame->width, frame->height};
    TakeDisplayedRect(frame, limited);
    if (locks.Active()) {
      const DragSize size = DragSizeOfHandle(shownHandle, swapAxes);
      if (size == DragSize::kBoth) {
        DRect d{frame->originX, frame->originY, frame->width, frame->height};
        KeepCornerRatio(&d, start.ratio, swapAxes, shownHandle);
        frame->originX = d.x;
        frame->originY = d.y;
        frame->width = d.width;
        frame->height = d.height;
        limited = DisplayedRect(*frame);
      }
      if (ApplySizeLockScales(frame, start, before, size, frameHandle, shownHandle, locks,
                              ClampScaleToResolutions)) {
        limited = DisplayedRect(*frame);
        KeepOppositeSides(&limited, previous, shownHandle);
        TakeDisplayedRect(frame, limited);
      }
    }
    *outline = limited;
    return true;
  }
};

}  // namespace

int CurrentFrameHandleAt(WinPoint point) {
  const FrameListNode* head = FrameListHead();
  return head ? HitTestFrameEdge(point, DisplayedRect(head->frame), AllSizeLocks()) : 0;
}

void TrackFrameWithMouse(WinPoint press, FrameEditView& view) {
  FrameListNode* head = FrameListHead();
  if (!head) return;
  FrameRecord& frame = head->frame;
  Tracking t{};
  t.frame = &frame;
  t.swapAxes = OrientationSwapAxes() != 0;
  t.locks = gFrameSizeLocks;
  t.start = TakeTrackStart(frame, t.swapAxes);
  t.press = press;
  t.client = ControlClient();
  t.previous = DisplayedRect(frame);
  t.shownHandle = HitTestFrameEdge(press, t.previous, AllSizeLocks());
  const Rect16 own = FrameToPreviewRect(frame.originX, frame.originY, frame.width, frame.height, false, nullptr);
  t.frameHandle = HitTestFrameEdge(UnorientedPoint(press), ToWinRect(own), AllSizeLocks());
  if (t.shownHandle == 0 || !view.BeginOutlines()) return;
  const FrameRecord atPress = frame;
  WinPoint handlePoint;
  ResizeFrameByHandle(&t.anchor, &handlePoint, &t.axes, t.shownHandle, t.previous.left, t.previous.top,
                      t.previous.right, t.previous.bottom);
  WinPoint last = press;
  while (IsKeyDown(kVirtualKeyLeftButton)) {
    const WinPoint cursor = NextCursor(view);
    WinRect outline;
    if (!PointsEqual(cursor.x, cursor.y, last.x, last.y) && t.Step(cursor, &outline)) {
      view.InvertOutline(t.previous);
      view.InvertOutline(outline);
      ShowFrameFields(!t.LockedCorner());
      t.previous = outline;
    } else {
      SleepMs(kIdleStepMs);
    }
    last = cursor;
    SampleDensitometerAtCursor();
  }
  view.EndOutlines();
  view.DrawAllFrames();
  const bool overlap = RefreshPreviewAfterFrameChange(atPress, true, true, 0, view);
  RefreshPreviewAfterFrameChange(frame, false, true, overlap ? 2 : 1, view);
  view.DrawAllFrames();
}

// The centre pixel of the preview in inches of the scan area.
void PreviewCentreRect(double rect[4]) {
  const WinRect client = ControlClient();
  const int32_t x = client.right / 2, y = client.bottom / 2;
  Rect16 packed;
  RectToRect16(WinRect{x, y, x + 1, y + 1}, &packed);
  PreviewRectToFrame(rect, packed, true);
}

void DrawNewFrameWithMouse(WinPoint press, FrameEditView& view) {
  FrameListNode* node = NewFrameNode(gScanFrame);
  if (!node) return;
  double centre[4];
  PreviewCentreRect(centre);
  GiveDeviceDefaults(&node->frame, centre);
  AppendFrameNode(node);
  MakeFrameCurrent(0, node);
  if (!view.BeginOutlines()) {
    RemoveCurrentFrame();
    return;
  }
  const WinRect client = ControlClient();
  WinRect outline{press.x, press.y, press.x, press.y};
  bool drawn = false;
  WinPoint last = press;
  while (IsKeyDown(kVirtualKeyLeftButton)) {
    const WinPoint cursor = NextCursor(view);
    if (!PointsEqual(cursor.x, cursor.y, last.x, last.y)) {
      if (drawn) view.InvertOutline(outline);
      outline = NormalizeClipRect(WinRect{press.x, press.y, cursor.x, cursor.y}, client);
      view.InvertOutline(outline);
      drawn = true;
    } else {
      SleepMs(kIdleStepMs);
    }
    last = cursor;
    SampleDensitometerAtCursor();
  }
  WinRect limited;
  const bool small = RectWidth(outline) < kSmallestNewFrame || RectHeight(outline) < kSmallestNewFrame;
  if (small || ClampFrameToScanArea(outline, &limited, kNoFrameHandle)) {
    // Dropped without a trace: the previous frame is current again.
    if (drawn) view.InvertOutline(outline);
    view.EndOutlines();
    RemoveCurrentFrame();
    view.DrawAllFrames();
    return;
  }
  view.EndOutlines();
  TakeDisplayedRect(&node->frame, outline);
  ToneToolsFollowCurrentFrame();
  ShowFrameFields(true);
  RefreshPreviewAfterFrameChange(node->frame, false, true, 1, view);
  view.DrawAllFrames();
}

void SelectFrameUnderCursor(WinPoint press, FrameEditView& view) {
  FrameListNode* head = FrameListHead();
  FrameListNode* hit = nullptr;
  for (FrameListNode* node = head ? head->next : nullptr; node && !hit && !gPreviewZoomed; node = node->next)
    if (Inside(press, DisplayedRect(node->frame))) hit = node;
  if (!hit) return;
  MakeFrameCurrent(0, hit);
  ToneToolsFollowCurrentFrame();
  ReloadFramePanel();
  RefreshPreviewAfterFrameChange(hit->frame, false, true, 0, view);
  view.DrawAllFrames();
  view.SetFrameCursor();
  if (IsKeyDown(kVirtualKeyLeftButton)) DragFrameParameters(view);
}

uint32_t FrameDragEffects() { return gPreviewZoomed ? kDropEffectMove : kDropEffectCopy | kDropEffectMove; }

void DragFrameParameters(FrameEditView& view) {
  const FrameListNode* head = FrameListHead();
  if (!head) return;
  const uint32_t effect = DoFrameDragDrop(head->frame, FrameDragEffects());
  if (effect == kDropEffectNone || !FrameListHead()) return;
  RefreshPreviewAfterFrameChange(FrameListHead()->frame, false, true, 2, view);
  view.DrawAllFrames();
  ToneToolsFollowCurrentFrame();
  ReloadFramePanel();
}

void DeleteCurrentFrameInteractive(FrameEditView& view) {
  const FrameListNode* head = FrameListHead();
  if (!head) return;
  const FrameRecord gone = head->frame;
  RestoreFrameArea(gone, view);
  RemoveCurrentFrame();
  ToneToolsFollowCurrentFrame();
  ReloadFramePanel();
  if (FrameListHead()) RefreshPreviewAfterFrameChange(FrameListHead()->frame, false, true, 2, view);
  view.DrawAllFrames();
}

namespace {

struct MarkerDrag {
  void (FrameEditView::*invert)(const WinRect&);
  bool byKeys;  // modifier keys hold the marker to one axis, shown by the cursor
};

// The marker follows the cursor's way from the press while the left button
// is held, kept inside the control and drawn inverted (twice erases it).
WinRect DragMarker(WinPoint press, const WinRect& start, const MarkerDrag& drag, FrameEditView& view) {
  const WinRect client = ControlClient();
  WinRect marker = start;
  MoveRectInside(&marker, client);
  (view.*drag.invert)(marker);
  WinPoint last = press;
  uint16_t shown = 0;
  while (IsKeyDown(kVirtualKeyLeftButton)) {
    const WinPoint cursor = NextCursor(view);
    int32_t dx = cursor.x - press.x, dy = cursor.y - press.y;
    if (drag.byKeys) {
      const bool upDown = IsKeyDown(kVirtualKeyShift), sideways = !upDown && IsKeyDown(kVirtualKeyControl);
      if (upDown) dx = 0;
      if (sideways) dy = 0;
      const uint16_t cursorId = upDown ? kCursorUpDown : sideways ? kCursorSideways : kCursorFree;
      if (cursorId != shown) view.ShowCursor(shown = cursorId);
    }
    WinRect moved{start.left + dx, start.top + dy, start.right + dx, start.bottom + dy};
    MoveRectInside(&moved, client);
    if (!SameRect(moved, marker)) {
      (view.*drag.invert)(marker);
      marker = moved;
      (view.*drag.invert)(marker);
    } else if (PointsEqual(cursor.x, cursor.y, last.x, last.y)) {
      SleepMs(kIdleStepMs);
    }
    last = cursor;
  }
  (view.*drag.invert)(marker);
  return marker;
}

}  // namespace

WinRect DragPointMarker(WinPoint press, WinRect marker, FrameEditView& view) {
  return DragMarker(press, marker, MarkerDrag{&FrameEditView::InvertFocusMarker, false}, view);
}

WinRect DragFocusPointMarker(WinPoint press, WinRect line, FrameEditView& view) {
  return DragMarker(press, line, MarkerDrag{&FrameEditView::InvertLineMarker, true}, view);
}

void SetFocusPointFromMarker(WinPoint press, FrameEditView& view) {
  FrameListNode* head = FrameListHead();
  if (!head || !view.BeginOutlines()) return;
  const WinPoint size = view.FocusMarkerSize();
  const WinPoint corner{press.x - size.x / 2, press.y - size.y / 2};
  const WinRect marker = DragPointMarker(press, WinRect{corner.x, corner.y, corner.x + size.x, corner.y + size.y}, view);
  view.EndOutlines();
  Rect16 packed;
  RectToRect16(marker, &packed);
  PreviewRectToFrame(head->frame.focusRect, packed, true);
  gPreviewToolMode = 0;
  view.RepaintPreview();
}

bool DragPreviewLine(WinPoint press, FrameEditView& view, double inches[4]) {
  const WinRect client = ControlClient();
  if (!Inside(press, client) || !view.BeginOutlines()) return false;
  // The line lies along the scan line of the image: across the preview unless the axes are swapped.
  const WinRect line = OrientationSwapAxes() ? WinRect{press.x, 0, press.x + 1, client.bottom}
                                             : WinRect{0, press.y, client.right, press.y + 1};
  const WinRect ended = DragFocusPointMarker(press, line, view);
  view.EndOutlines();
  Rect16 packed;
  RectToRect16(ended, &packed);
  PreviewRectToFrame(inches, packed, true);
  return true;
}

void PressOnPreview(WinPoint press, FrameEditView& view) {
  // A field typed into moments ago is put back first; the press does nothing else.
  if (!FlushPendingFieldEdit()) return;
  if (gPreviewToolMode == kPipetteToolMode) return ApplyPreviewPipette(press, view);
  if (gPreviewToolMode == kFocusPointMode) return SetFocusPointFromMarker(press, view);
  if (gPreviewToolMode == kFocusLineMode || gPreviewToolMode == kWhiteLineMode) {
    // The line is shown and measured, not kept.
    double line[4];
    DragPreviewLine(press, view, line);
    gPreviewToolMode = 0;
    view.RepaintPreview();
    return;
  }
  if (gPreviewToolMode != 0) return;
  const FrameListNode* head = FrameListHead();
  if (head && CurrentFrameHandleAt(press) != 0) return TrackFrameWithMouse(press, view);
  if (head && Inside(press, DisplayedRect(head->frame))) return DragFrameParameters(view);
  if (head)
    for (const FrameListNode* node = head->next; node && !gPreviewZoomed; node = node->next)
      if (Inside(press, DisplayedRect(node->frame))) return SelectFrameUnderCursor(press, view);
  // Free space: with Alt a copy of the current frame, else a new one; neither while zoomed or with Ctrl.
  if (gPreviewZoomed || IsKeyDown(kVirtualKeyControl)) return;
  if (IsKeyDown(kVirtualKeyAlt)) {
    DuplicateCurrentFrame();
    view.DrawAllFrames();
    return;
  }
  DrawNewFrameWithMouse(press, view);
}
