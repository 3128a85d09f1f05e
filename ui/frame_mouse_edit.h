// Editing frames on the preview with the mouse while the left button is
// held: resizing the current frame by a handle (with the panel's size
// locks), drawing a new frame, selecting another one and dragging one out.
// The loops read the cursor and the buttons through the system services, so
// a scripted drag runs them as a person's does.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "ui/frame_region_refresh.h"

// What the preview's window does for the loops.
class FrameEditView : public PreviewRefreshView {
 public:
  virtual WinPoint ScreenToControl(WinPoint screen) = 0;
  // Takes the control's device context with the XOR pen; false without one.
  virtual bool BeginOutlines() = 0;
  // An outline with the inverting mix (drawing it twice erases it).
  virtual void InvertOutline(const WinRect& rect) = 0;
  virtual void EndOutlines() = 0;
  virtual void DrawAllFrames() = 0;
  // The cursor over a frame.
  virtual void SetFrameCursor() = 0;
  // The focus marker's size, and the marker drawn inverted there (twice erases it).
  virtual WinPoint FocusMarkerSize() = 0;
  virtual void InvertFocusMarker(const WinRect& rect) = 0;
  // The line marker of the focus and white line tools, inverted over the
  // rectangle (twice erases it).
  virtual void InvertLineMarker(const WinRect& rect) = 0;
  // A cursor of the module's resources for the rest of a drag.
  virtual void ShowCursor(uint16_t cursorId) = 0;
};

// The displayed handle of the current frame under the point (control
// coordinates), with the corners' long arms while all three size locks are on.
int CurrentFrameHandleAt(WinPoint point);

// Button down on a handle of the current frame.
void TrackFrameWithMouse(WinPoint press, FrameEditView& view);
// Button down on free preview space: a new frame is drawn and kept when
// large enough and inside the scan area.
void DrawNewFrameWithMouse(WinPoint press, FrameEditView& view);
// Button down on a frame other than the current one: it becomes current.
void SelectFrameUnderCursor(WinPoint press, FrameEditView& view);
// The drag of the current frame's record; only MOVE while zoomed.
uint32_t FrameDragEffects();
void DragFrameParameters(FrameEditView& view);
// The delete command: the frame's area goes back to the unprocessed preview,
// the next frame becomes current and the frames are painted again.
void DeleteCurrentFrameInteractive(FrameEditView& view);
// Focus point mode: the focus marker follows the cursor while the button is
// held; its rectangle becomes the current frame's focus point rectangle and
// the preview returns to the frame mode.
void SetFocusPointFromMarker(WinPoint press, FrameEditView& view);
// The focus marker moved with the mouse while the button is held, kept
// inside the control; where it ended.
WinRect DragPointMarker(WinPoint press, WinRect marker, FrameEditView& view);
// The line marker moved the same way: with Shift only up and down (cursor
// 125), with Ctrl only sideways (126), otherwise freely (124).
WinRect DragFocusPointMarker(WinPoint press, WinRect line, FrameEditView& view);
// Focus line and white line modes: a line across the preview at the press,
// horizontal (vertical when the orientation swaps the axes), dragged and
// given back in scan-area inches (x, y, width, height); false when the press
// lies outside the preview.
bool DragPreviewLine(WinPoint press, FrameEditView& view, double inches[4]);
// What a left-button press at the point does in the frame, focus point, and
// focus and white line modes.
void PressOnPreview(WinPoint press, FrameEditView& view);
