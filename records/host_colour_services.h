// The records a host's colour-services procedure (the SessionBlock's
// colourServices slot) is handed: a colour to convert, or a block of screen
// pixels to draw matched for the monitor. The procedure tells them apart by
// their first word: 36 for a colour, 1 for pixels.
#pragma once

#include <cstddef>
#include <cstdint>

// The host's published colour-services record: one colour, converted in place.
struct ColourServicesRequest {
  int32_t size;  // 36
  int16_t selector;
  int16_t sourceSpace;
  int16_t resultSpace;
  uint8_t gamutValid;
  uint8_t inGamut;
  uint8_t reservedSource[4];
  uint8_t reservedResult[4];
  int16_t components[4];  // 0..255, in on call, out on return
  uint8_t reserved[4];
  uint8_t selectorParameter[4];
};
static_assert(sizeof(ColourServicesRequest) == 36, "colour-services record layout");
static_assert(offsetof(ColourServicesRequest, selector) == 4 && offsetof(ColourServicesRequest, gamutValid) == 10 &&
                  offsetof(ColourServicesRequest, components) == 20 &&
                  offsetof(ColourServicesRequest, selectorParameter) == 32,
              "colour-services record offsets");

constexpr int32_t kColourRequestSize = 36;
constexpr int16_t kConvertColourSelector = 1;
enum ColourSpace : int16_t { kColourSpaceRgb = 0, kColourSpaceCmyk = 2, kColourSpaceHsl = 5 };

// A block of 32-bit B, G, R, x pixels to draw: fourteen words in the 32-bit
// product (the base address is pointer-wide in the 64-bit test build).
struct HostPixelBlock {
  int32_t version;  // 1
  int32_t top, left, bottom, right;  // 0, 0, height, width
  int32_t samples;     // 3
  int32_t rowBytes;
  int32_t pixelBytes;  // 4
  int32_t planeBytes;  // -1: interleaved
  uint8_t* red;        // the first pixel's third byte
  int32_t reserved[4];
};
static_assert(sizeof(void*) != 4 || sizeof(HostPixelBlock) == 14 * 4, "fourteen words in the 32-bit product");

// The rectangle handed beside a pixel block (top, left, bottom, right).
struct HostRect {
  int32_t top, left, bottom, right;
};

// The procedure: a colour request alone (the other arguments null and 0), or
// a pixel block with its rectangle, destination position and device context.
// 0: done; anything else sends the caller to its own fallback.
using ColourServicesProc = int16_t (*)(void* request, const HostRect* rect, int32_t top, int32_t left, void* dc);
