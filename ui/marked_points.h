// The fixed measuring points between scan-area inches and preview pixels: the
// whole scan area, or the zoom box while zoomed, fills the preview image.
#pragma once

#include <cstdint>

// Every point at once instead of one index.
constexpr uint16_t kAllMarkedPoints = 0xFFFF;

// The pixel point of the point at index (or of all) from its inches.
void MarkedPointsToPreview(uint16_t index);
// The inches of the point at index (or of all) from its pixel point.
void MarkedPointsFromPreview(uint16_t index);
// The first point not set, or -1 when all four are.
int FirstFreeMarkedPoint();
// The current frame's brightest (or darkest) preview pixel becomes the first
// free point, and the fixed-pipette window follows; a beep, and no point,
// without a preview image or a free point.
void PlaceExtremeFixedPoint(bool brightest);
