// The colour steps of a frame's preview corrections, which follow its tone
// tables: the scanner transform, the calibration cube, the six-colour
// selective colour or the twelve-colour matrix, and the soft proof of the
// CMYK output. Pixels in bitmap order: blue, green, red (and a fourth byte).
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "records/frame_record.h"

// Rows of bitmap pixels: the first pixel, the row stride in bytes, 3 or 4 bytes a pixel.
struct BitmapPixels {
  uint8_t* first;
  uint32_t stride;
  int32_t width;
  int32_t rows;
  int32_t pixelBytes;
};

// The scanner transform (colour management mode 2), the calibration cube
// (mode 3, not for negatives), then with the colour-correction switch on the
// selective colour (mode word 1) or the twelve-colour matrix baked into a
// cube. frameArea: where the pixels lie in the frame's preview area, whose
// mask limits the corrections; null for colours that are no place of the
// image (the preview lattice, a single colour), which no mask limits.
void ApplyFrameColorSteps(const FrameRecord& frame, const BitmapPixels& pixels, const WinRect* frameArea);

// The preview shows the output conversion: its view is on and the output mode is 2 or 5.
bool UsesOutputConversion();
// The soft proof of the CMYK output over the pixels (nothing when its cube cannot be had).
void ApplySoftProof(const BitmapPixels& pixels);
