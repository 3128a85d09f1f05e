// Documents of known pixels for the photo program's tests.
#pragma once

#include <cstdint>
#include <vector>

#include "photoapp/document/image_document.h"

using Bytes = std::vector<uint8_t>;

// Every pixel a different colour, so that a lost row or a swapped channel shows.
inline void FillPattern(ImageDocument& document, int width, int height) {
  document.AllocateImage(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      document.SetPixelColor(x, y, ((x * 7 + y) & 0xFF) | ((y * 11 + x * 3) & 0xFF) << 8 | ((x * y + 40) & 0xFF) << 16);
}

// Four flat quadrants: colours that survive scaling away from the borders.
constexpr int kQuadrantColors[4] = {0x281EC8, 0x3CB41E, 0xD23C28, 0x32D2E6};  // TL, TR, BL, BR as R | G << 8 | B << 16

inline void FillQuadrants(ImageDocument& document, int width, int height) {
  document.AllocateImage(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      document.SetPixelColor(x, y, kQuadrantColors[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)]);
}

inline Bytes PixelsOf(const ImageDocument& document) {
  if (!document.HasPixels()) return Bytes();
  const auto* bytes = static_cast<const uint8_t*>(document.GetPixels());
  return Bytes(bytes, bytes + static_cast<size_t>(document.GetWidth()) * document.GetHeight() * 3);
}
