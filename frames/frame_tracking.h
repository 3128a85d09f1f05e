// The arithmetic of resizing a frame with the mouse, apart from any window:
// which point stays while a handle is dragged, when the cursor has crossed
// it, the rectangle a drag step gives, and what the panel's size locks make
// of it (proportions, output scales following the size, the resolution limit).
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "records/frame_record.h"

// Free axes of a drag: both, horizontal only (handles 4 and 8), vertical only (2 and 6).
enum : int { kAxesBoth = 0, kAxesHorizontal = 1, kAxesVertical = 2 };

// The anchor that stays while the handle is dragged (the opposite corner, or
// for an edge only the opposite side's coordinate), the handle's own point
// and the free axes, for the displayed rectangle left, top, right, bottom.
void ResizeFrameByHandle(WinPoint* anchor, WinPoint* handlePoint, int* axes, int handle, int32_t left, int32_t top,
                         int32_t right, int32_t bottom);

// Along a free axis the cursor lies on the other side of the anchor than the press point did.
bool CursorCrossedAnchor(WinPoint press, WinPoint cursor, WinPoint anchor, int axes);

// Orders the rectangle's sides and clips it to the bounds.
WinRect NormalizeClipRect(WinRect r, const WinRect& bounds);

// The rectangle of one drag step: from the anchor to the cursor along the
// free axes, the other axis as in previous; ordered and clipped to the client.
WinRect TrackedRect(WinPoint anchor, WinPoint cursor, int axes, const WinRect& previous, const WinRect& client);

bool IsCornerHandle(int handle);

// The size locks of the frame panel and the proportional link.
struct SizeLocks {
  bool width;
  bool height;
  bool link;
  bool Active() const { return width || height; }
};

// Corner handles with a lock, in preview pixels: the top (handles 1, 3) or
// the bottom (5, 7) follows the width at the ratio (width / height, on the
// display). False when that side would leave the client rectangle.
bool ApplyCornerRatio(WinRect* r, int handle, double ratio, const WinRect& client);

// What a drag by the displayed handle changes of the frame: its width, its
// height (the reverse of the display's when the axes are swapped) or both.
enum class DragSize { kWidth, kHeight, kBoth };
DragSize DragSizeOfHandle(int displayedHandle, bool swapAxes);

// The frame's values at the press.
struct TrackStart {
  float scaleX, scaleY;  // output scales (f32 at 1576, 1580)
  double width, height;  // w0, h0
  double ratio;          // w0 / h0, or h0 / w0 with swapped axes
};
TrackStart TakeTrackStart(const FrameRecord& frame, bool swapAxes);

// Corner drags with a lock, in inches: the height follows the width at the
// start ratio, at most to the scan area's bottom (swapped: the width follows
// the height, at most to the right border); when LimitFrameRect would change
// that, the other side follows instead.
void KeepCornerRatio(DRect* r, double ratio, bool swapAxes, int displayedHandle);

// The resolution limit of an output scale, from the main dialog's support:
// true when the scale was changed.
using ScaleClamp = bool (*)(float* scale, int16_t resolution);

// The output scales follow the frame's size under the locks; when clamping
// to the resolution list changes them the sizes follow the clamped scales,
// the origin keeps the side opposite the frame handle (before: the frame's
// rectangle before the step) and the rectangle is limited again. True when
// the clamp changed a scale (the caller then puts the displayed sides back).
bool ApplySizeLockScales(FrameRecord* frame, const TrackStart& start, const DRect& before, DragSize size,
                         int frameHandle, int displayedHandle, SizeLocks locks, ScaleClamp clamp);

// After a clamped step, in preview pixels: the sides opposite the displayed
// handle go back where the previous outline had them.
void KeepOppositeSides(WinRect* r, const WinRect& previous, int displayedHandle);
