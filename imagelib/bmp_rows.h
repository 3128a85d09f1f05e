// Stored bitmap rows to the library's pixels: palette, 16-, 24- and 32-bit
// rows to R, G, B, and packed palette indexes to one byte each. The BMP codec
// and the bitmap conversions share them.
#ifndef IMAGELIB_BMP_ROWS_H
#define IMAGELIB_BMP_ROWS_H

#include <cstdint>

#include "imagelib/imagelib.h"

namespace imagelib {

// The channel masks of a bit-field file.
struct BmpMasks {
  uint32_t red;
  uint32_t green;
  uint32_t blue;
};

// Converts one row of width pixels of 1, 4, 8, 16, 24 or 32 bits. Indexed
// rows look their colours up in a 256-entry table; 16-bit rows without masks
// are 5-5-5. With fourth_byte 0..255 each pixel gets a fourth byte of that
// value; with -1 pixels are three bytes.
void ConvertBmpRow(const uint8_t* src, int width, int bits, const PaletteEntry* table, const BmpMasks* masks,
                   uint8_t* dst, int fourth_byte);

// 1-, 4- or 8-bit indexes, most significant first, to one byte each.
void ExpandBmpIndexes(const uint8_t* src, int width, int bits, uint8_t* dst);

}  // namespace imagelib

#endif
