#include "foundation/dib.h"

uint32_t DibColorCount(const DibHeader* header) {
  if (header->colorsUsed != 0) return header->colorsUsed;
  switch (header->bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

uint32_t DibPaletteSize(const DibHeader* header) { return DibColorCount(header) * 4; }

const uint8_t* DibBitsOf(const DibHeader* header) {
  return reinterpret_cast<const uint8_t*>(header) + header->size + DibPaletteSize(header);
}

uint32_t DibHeaderStride(const DibHeader* header) {
  uint32_t bits = uint32_t{header->bitCount} * header->planes * static_cast<uint32_t>(header->width);
  return (bits + 31) / 8 & ~3u;
}

bool ParseIconImage(const void* image, uint32_t size, IconImageLayout* layout) {
  if (size < sizeof(DibHeader)) return false;
  const auto* header = static_cast<const DibHeader*>(image);
  if (header->size < sizeof(DibHeader) || header->width <= 0 || header->height <= 0 ||
      header->colorsUsed > 256)
    return false;
  const int32_t height = header->height / 2;
  const uint32_t maskStride = (static_cast<uint32_t>(header->width) + 31) / 32 * 4;
  const uint64_t needed = uint64_t{header->size} + DibPaletteSize(header) +
                          uint64_t{DibHeaderStride(header)} * height + uint64_t{maskStride} * height;
  if (needed > size) return false;
  layout->width = header->width;
  layout->height = height;
  layout->bitsPerPixel = uint32_t{header->bitCount} * header->planes;
  layout->colorBits = DibBitsOf(header);
  layout->maskBits = layout->colorBits + DibHeaderStride(header) * static_cast<uint32_t>(height);
  return true;
}
