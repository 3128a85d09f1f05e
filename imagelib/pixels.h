// Helpers shared by the processing functions on 24-bit R, G, B buffers.
#ifndef IMAGELIB_PIXELS_H
#define IMAGELIB_PIXELS_H

#include <cstddef>
#include <cstdint>

namespace imagelib {

constexpr int kRgbBytes = 3;

// The luminance of a pixel, in double precision and truncated; it falls one
// short of v for some grey pixels (v, v, v), and callers rely on that.
inline int Luminance(const uint8_t* rgb) {
  return static_cast<int>(0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]);
}

inline uint8_t ClampToByte(int value) {
  return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// A double clamped to 0..255 and truncated.
inline uint8_t TruncateToByte(double value) {
  if (!(value > 0)) return 0;
  return value >= 255 ? 255 : static_cast<uint8_t>(value);
}

inline size_t PixelCount(int width, int height) {
  return static_cast<size_t>(width) * static_cast<size_t>(height);
}

inline bool ValidSize(int width, int height) { return width >= 0 && height >= 0; }

}  // namespace imagelib

#endif
