#include "frames/orientation/orient_image_block.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// How a row is cut into samples: `planes` runs of `width` samples of `sampleBits`.
struct RowShape {
  int32_t planes;
  int32_t sampleBits;   // 1, 8 or 16 for planar rows; the whole pixel for interleaved ones
};

RowShape ShapeOf(int32_t bitsPerPixel, bool interleaved) {
  if (interleaved || bitsPerPixel == 1 || bitsPerPixel == 8 || bitsPerPixel == 16) return {1, bitsPerPixel};
  if (bitsPerPixel == 24 || bitsPerPixel == 32) return {bitsPerPixel / 8, 8};
  return {bitsPerPixel / 16, 16};
}

bool GetBit(const uint8_t* row, int32_t i) { return (row[i >> 3] >> (7 - (i & 7))) & 1; }
void SetBit(uint8_t* row, int32_t i, bool on) {
  const uint8_t mask = static_cast<uint8_t>(0x80 >> (i & 7));
  row[i >> 3] = on ? (row[i >> 3] | mask) : (row[i >> 3] & ~mask);
}

void MirrorRow(uint8_t* row, int32_t width, const RowShape& shape, int32_t planeBytes) {
  for (int32_t p = 0; p < shape.planes; ++p) {
    uint8_t* plane = row + p * planeBytes;
    if (shape.sampleBits == 1) {
      for (int32_t a = 0, b = width - 1; a < b; ++a, --b) {
        const bool left = GetBit(plane, a);
        SetBit(plane, a, GetBit(plane, b));
        SetBit(plane, b, left);
      }
      continue;
    }
    const int32_t size = shape.sampleBits / 8;
    for (int32_t a = 0, b = width - 1; a < b; ++a, --b)
      std::swap_ranges(plane + a * size, plane + (a + 1) * size, plane + b * size);
  }
}

// Destination pixel (x = rows - 1 - y, y = x) of every source pixel.
void TurnClockwise(const uint8_t* source, uint8_t* destination, int32_t rows, int32_t width, const RowShape& shape,
                   int32_t sourcePlaneBytes, int32_t sourceRowBytes, int32_t destPlaneBytes, int32_t destRowBytes) {
  const int32_t size = shape.sampleBits / 8;
  for (int32_t y = 0; y < rows; ++y) {
    const int32_t column = rows - 1 - y;
    const uint8_t* row = source + static_cast<size_t>(y) * sourceRowBytes;
    for (int32_t p = 0; p < shape.planes; ++p) {
      const uint8_t* plane = row + p * sourcePlaneBytes;
      uint8_t* target = destination + p * destPlaneBytes;
      if (shape.sampleBits == 1) {
        for (int32_t x = 0; x < width; ++x)
          SetBit(target + static_cast<size_t>(x) * destRowBytes, column, GetBit(plane, x));
        continue;
      }
      for (int32_t x = 0; x < width; ++x)
        std::memcpy(target + static_cast<size_t>(x) * destRowBytes + column * size, plane + x * size, size);
    }
  }
}

int32_t PlaneBytes(int32_t samples, const RowShape& shape) { return (samples * shape.sampleBits + 7) / 8; }

}  // namespace

bool OrientImageBlock(uint8_t* source, uint8_t* destination, int32_t rows, int32_t width, int32_t bitsPerPixel,
                      uint8_t mirrorH, uint8_t mirrorV, uint8_t swapAxes, bool interleaved, int32_t rowBytes) {
  if (!source || !destination || rows <= 0 || width <= 0 || bitsPerPixel <= 0) return false;
  const RowShape shape = ShapeOf(bitsPerPixel, interleaved);
  const int32_t planeBytes = PlaneBytes(width, shape);
  if (rowBytes == 0) rowBytes = (width * bitsPerPixel + 7) / 8;
  std::vector<uint8_t> spare(rowBytes);

  if (mirrorH)
    for (int32_t y = 0; y < rows; ++y) MirrorRow(source + static_cast<size_t>(y) * rowBytes, width, shape, planeBytes);
  if (mirrorV)
    for (int32_t a = 0, b = rows - 1; a < b; ++a, --b) {
      uint8_t* top = source + static_cast<size_t>(a) * rowBytes;
      uint8_t* bottom = source + static_cast<size_t>(b) * rowBytes;
      std::memcpy(spare.data(), top, rowBytes);
      std::memcpy(top, bottom, rowBytes);
      std::memcpy(bottom, spare.data(), rowBytes);
    }

  if (!swapAxes) {
    std::memcpy(destination, source, static_cast<size_t>(rows) * rowBytes);
    return true;
  }
  const int32_t destPlaneBytes = PlaneBytes(rows, shape);
  const int32_t destRowBytes = (rows * bitsPerPixel + 7) / 8;
  if (shape.sampleBits == 1) std::memset(destination, 0, static_cast<size_t>(width) * destRowBytes);
  TurnClockwise(source, destination, rows, width, shape, planeBytes, rowBytes, destPlaneBytes, destRowBytes);
  return true;
}
