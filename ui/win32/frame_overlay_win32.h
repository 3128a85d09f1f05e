// The frames drawn over the preview control.
#pragma once

#include <windows.h>

// The current frame, then (unless zoomed) every other frame in the checker
// style, on the given device context or the control's own.
void DrawAllFrames(HWND previewControl, HDC dc);
