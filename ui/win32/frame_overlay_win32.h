// The frames drawn over the preview control.
#pragma once

#include <windows.h>

#include <cstdint>

// The neutral points' markers while the neutral pipette is chosen, the
// current frame, then (unless zoomed) every other frame in the checker style,
// on the given device context or the control's own.
void DrawAllFrames(HWND previewControl, HDC dc);
// The current frame's animated style (0-7), which its XOR outlines take too.
uint16_t CurrentFrameAnimatedStyle();
// The focus marker bitmap's size, and the marker drawn inverted with its
// left-top corner at (x, y): only its strokes invert the preview.
SIZE FocusMarkerBitmapSize();
void InvertFocusMarkerAt(HDC dc, int x, int y);
// One tick of the marching outline: the current frame's outline in its
// style, the style advanced, and the outline drawn again.
void AnimateCurrentFrameOutline(HWND previewControl);
