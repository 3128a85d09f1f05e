// Frames in scan-area inches against rectangles in the preview control: the
// whole scan area, or the zoom box while zoomed, fills the control. Only the
// control's size counts (its left and top are taken as 0).
#pragma once

#include "foundation/geometry.h"

// The client rectangle of preview control 1047.
extern WinRect gPreviewClientRect;
// The scan area's width and height (inches) as the preview shows it, copied at every layout.
extern double gPreviewExtentWidth;
extern double gPreviewExtentHeight;
// The part of the scan area that fills the preview while zoomed.
extern DRect gZoomBox;

// In the control's own axes, without orientation.
Rect16 FrameToPreviewPacked(double x, double y, double width, double height);
// On the control (or on area when given), with the extents swapped when the
// orientation swaps the axes; with orient mapped through the orientation.
Rect16 FrameToPreviewRect(double x, double y, double width, double height, bool orient, const Rect16* area);
// The inverse: x, y, width, height into out, which is returned.
double* PreviewRectToFrame(double out[4], Rect16 rect, bool orient);
// A rectangle of the unzoomed preview (image axes) in the zoomed preview's
// pixels while zoomed, through scan-area inches; unchanged otherwise.
WinRect UnzoomedRectToZoomed(const WinRect& rect);
