// The densitometer's last sample: the colours of the displayed and of the
// unprocessed preview around a point, the point and the unprocessed image's
// rectangle.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

struct DensitometerSample {
  uint8_t shown[3];   // R, G, B of the displayed preview
  uint8_t base[3];    // R, G, B of the preview before frame corrections
  uint8_t stored[3];  // the third colour the readout shows
  int32_t x;          // in the preview image's pixels
  int32_t y;
  WinRect baseRect;   // the unprocessed image's rectangle
  int16_t radius;     // sample radius in pixels
};
extern DensitometerSample gDensitometer;

// Samples both previews at the point of the preview control (undoing the
// preview's orientation); false outside the image or without both previews.
bool SampleDensitometerAtPreviewPoint(WinPoint point);
