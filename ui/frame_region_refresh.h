// Re-rendering the preview after a frame changed: the frame's area of the
// unprocessed preview is copied back and corrected, other frames that share
// the area are painted again first, and the window draws what changed.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "records/frame_record.h"

// What the preview's window does after a re-render.
class PreviewRefreshView {
 public:
  virtual ~PreviewRefreshView() = default;
  // Draws that rectangle of the displayed preview (stored rows and columns) into the control.
  virtual void DrawPreviewArea(const WinRect& area) = 0;
  // Repaints the whole control (when a frame is current).
  virtual void RepaintPreview() = 0;
  virtual void SampleDensitometerAtCursor() = 0;
  virtual void RepaintNavigator() = 0;
};

// The frame's rectangle in the preview bitmap's rows and columns.
Rect16 FrameImageRect(const FrameRecord& frame);

// Copies the frame's area from the unprocessed preview into the displayed
// one, corrects it with the frame's settings and draws it.
void RedrawFrameRegion(const FrameRecord& frame, PreviewRefreshView& view);

// The frame's area back to the unprocessed preview, drawn (the frame is going away).
void RestoreFrameArea(const FrameRecord& frame, PreviewRefreshView& view);

// others: 0 only the given frame, 1 also the frames overlapping it, 2 all
// (none while zoomed). Those are painted from the last in the list to the
// second, then the frame; b samples the densitometer, a clear repaints the
// navigator. True when the current frame overlaps another. Nothing happens
// while the preview lattice is in play and real-time correction is off.
bool RefreshPreviewAfterFrameChange(const FrameRecord& frame, bool a, bool b, uint16_t others,
                                    PreviewRefreshView& view);

// The displayed rectangle limited to the scan area in inches (LimitFrameRect
// with the handle); out is the limited rectangle mapped back, or in when
// nothing changed. True when something changed.
bool ClampFrameToScanArea(const WinRect& in, WinRect* out, int handle);
