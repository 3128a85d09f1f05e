// The brightest and darkest points of the current frame in the preview, which
// the tool-strip button shows while it is held.
#pragma once

#include "foundation/geometry.h"
#include "foundation/global_dib.h"

// The last pixel in row order of the highest (or lowest) R + G + B inside the
// frame's preview area shrunk by one pixel; false when that area holds none.
bool FindBrightnessExtreme(GlobalDib preview, const WinRect& frameArea, bool brightest, WinPoint* point);
// With the button's rectangle: brightest while the cursor is in its upper
// half, darkest in the lower half.
bool BrightestAtCursor(const WinRect& button, int32_t cursorY);
