// The platform's drawing of point markers on a window.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

// The bitmap of the module's resources with its left-top corner at (x, y):
// its black strokes are ANDed onto what the window shows.
void DrawMarkerBitmap(void* window, uint16_t bitmapId, int32_t x, int32_t y);
void InvalidateWindowRect(void* window, const WinRect& rect);
