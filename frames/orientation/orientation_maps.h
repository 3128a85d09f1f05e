// Rectangles and points between image and preview coordinates under the
// orientation flags. Image to preview applies flip X, flip Y, then the
// clockwise quarter turn; the way back undoes them in reverse order. Bounds
// are always given in the image's axes.
#pragma once

#include <cstdint>

// Same layout as the system's RECT and POINT.
struct PixelRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct PixelPoint {
  int32_t x;
  int32_t y;
};

static_assert(sizeof(PixelRect) == 16 && sizeof(PixelPoint) == 8, "system rectangle and point layouts");

// Keeps left and top; right := left + height, bottom := top + width.
void SwapRectExtent(PixelRect* r);

void MapRectToPreview(PixelRect* r, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn);
void MapRectFromPreview(PixelRect* r, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn);

// A point maps as the 1 x 1 rectangle at it; the result is that rectangle's left-top corner.
void MapPointToPreview(PixelPoint* p, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn);
void MapPointFromPreview(PixelPoint* p, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn);
