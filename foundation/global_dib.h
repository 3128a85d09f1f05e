// GlobalDibs: device-independent bitmaps in one memory block, the 40-byte
// header directly followed by the rows, without a colour table (also at 8
// bits). They hold the preview, the thumbnails and the tools' small colour
// pictures. The pixel operations work on 24 and 32 bits (blue, green, red,
// and a fourth byte) and leave other depths alone; rectangles are in stored
// rows and columns, clipped at the right and bottom edges only.
#pragma once

#include <cstdint>

#include "foundation/dib.h"
#include "foundation/geometry.h"

// The block: header, then the rows.
typedef DibHeader* GlobalDib;
// 0x00BBGGRR: red in the low byte.
typedef uint32_t ColorRef;

inline uint8_t RedOf(ColorRef c) { return static_cast<uint8_t>(c); }
inline uint8_t GreenOf(ColorRef c) { return static_cast<uint8_t>(c >> 8); }
inline uint8_t BlueOf(ColorRef c) { return static_cast<uint8_t>(c >> 16); }
inline ColorRef MakeColorRef(uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t{r} | uint32_t{g} << 8 | uint32_t{b} << 16;
}

// The colour lattice of the preview (32 x 1024 at 32 bits: entry R x 1024 +
// G x 32 + B for 5-bit channels) and its mode: 99 to be built at the next
// render, 1 in use by ApplyLutsToGlobalDibRect, 0 none.
extern GlobalDib gPreviewLattice;
extern uint8_t gPreviewLatticeMode;

// Height first. Null for a bit count other than 8, 24 or 32 or when memory is short.
GlobalDib CreateGlobalDib(int32_t height, int32_t width, uint16_t bitsPerPixel, bool topDown);
void FreeGlobalDib(GlobalDib dib);
int32_t GlobalDibWidth(const DibHeader* dib);
// The absolute height (a top-down image stores it negative).
int32_t GlobalDibHeight(const DibHeader* dib);
void GetGlobalDibRect(WinRect* rect, const DibHeader* dib);
uint32_t GlobalDibStride(const DibHeader* dib);
uint8_t* GlobalDibBits(DibHeader* dib);
const uint8_t* GlobalDibBits(const DibHeader* dib);
// Bytes of a block of the geometry (header and rows); 0 when it cannot be had.
uint32_t GlobalDibBlockSize(int32_t height, int32_t width, uint16_t bitsPerPixel);

void FillGlobalDib(GlobalDib dib, ColorRef color);
// With the flag a left-to-right ramp from colour 1 to colour 2, else colour 1.
void FillGlobalDibGradient(GlobalDib dib, ColorRef color1, ColorRef color2, bool gradient);
// Only between images of the same width, height, bit count, compression and size.
void CopyGlobalDib(const DibHeader* source, GlobalDib target);
void CopyGlobalDibRect(const DibHeader* source, GlobalDib target, WinRect rect);
void InvertGlobalDib(GlobalDib dib);
void InvertGlobalDibRect(GlobalDib dib, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Each channel through its 256-byte table, then through the lattice when its mode is 1.
void ApplyLutsToGlobalDibRect(GlobalDib dib, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                              int32_t left, int32_t top, int32_t right, int32_t bottom);
// Channel 0: R, G and B set to table[(R + G + B) / 3]; 1 to 3: to table[red, green or blue].
void MapGlobalDibToGrey(GlobalDib dib, int channel, const uint8_t* table, int32_t left, int32_t top, int32_t right,
                        int32_t bottom);
// Adds the rectangle's pixels to the four 256-entry histograms (not cleared first).
void HistogramGlobalDibRect(const DibHeader* dib, bool invert, uint32_t* red, uint32_t* green, uint32_t* blue,
                            uint32_t* grey, int32_t left, int32_t top, int32_t right, int32_t bottom);
// The rounded average R, G, B of the pixels whose grey lies in [low, high];
// false (and rgb untouched) when none does.
bool AverageColorInGreyRange(uint8_t rgb[3], const DibHeader* dib, bool invert, int low, int high,
                             const WinRect& rect);
void SumGlobalDibRect(const DibHeader* dib, bool invert, uint32_t sums[3], uint32_t* count, const WinRect& rect);
// The largest (or smallest) R + G + B of the rectangle.
int FindExtremeBrightness(const DibHeader* dib, bool brightest, const WinRect& rect);
// The last pixel in row order whose R + G + B equals sum; with mark each match
// is painted white (sum below 382) or black. False when none matched.
bool FindPixelWithBrightness(GlobalDib dib, int sum, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             ColorRef* color, WinPoint* point, bool mark);
// The average of the (2r + 1)-square around the point, clipped; 0 without pixels.
ColorRef AverageColorAroundPoint(const DibHeader* dib, int32_t x, int32_t y, int32_t radius);
