// Packed device-independent bitmaps: a 40-byte header, the colour table,
// then the rows. Used by the icon writer and the bitmap helpers.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of the system's BITMAPINFOHEADER.
struct DibHeader {
  uint32_t size;
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t colorsUsed;
  uint32_t colorsImportant;
};
static_assert(sizeof(DibHeader) == 40, "BITMAPINFOHEADER layout");
static_assert(offsetof(DibHeader, bitCount) == 14 && offsetof(DibHeader, sizeImage) == 20 &&
                  offsetof(DibHeader, colorsUsed) == 32,
              "BITMAPINFOHEADER offsets");

// The used-colour count when not 0, else 2, 16 or 256 for 1, 4 or 8 bits per pixel, else 0.
uint32_t DibColorCount(const DibHeader* header);
uint32_t DibPaletteSize(const DibHeader* header);
// The pixels: behind the header and its colour table.
const uint8_t* DibBitsOf(const DibHeader* header);
// Row bytes of a row of the header's width, padded to 4 bytes.
uint32_t DibHeaderStride(const DibHeader* header);

// An icon image: its header (height counts the colour and mask rows), colour
// table, colour rows and mask rows.
struct IconImageLayout {
  int32_t width;
  int32_t height;  // half the header's height
  uint32_t bitsPerPixel;  // bit count x planes
  const uint8_t* colorBits;
  const uint8_t* maskBits;
};
// False when the bytes are too short for the header, its colour table and rows.
bool ParseIconImage(const void* image, uint32_t size, IconImageLayout* layout);
