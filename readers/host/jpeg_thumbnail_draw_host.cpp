// Without GDI the thumbnail is sampled into the caller's bits, nearest pixel.
#include "readers/jpeg/jpeg_thumbnail.h"

#include <cstddef>

bool DrawThumbnailPixels(const ThumbnailPixels& pixels, void*, uint8_t* bits, int32_t width, int32_t height,
                         int32_t rowBytes, int32_t pixelBytes) {
  if (!bits || width <= 0 || height <= 0 || pixels.width == 0 || pixels.height == 0) return false;
  for (int32_t y = 0; y < height; ++y) {
    const size_t sourceRow = static_cast<size_t>(uint64_t{static_cast<uint32_t>(y)} * pixels.height / height);
    uint8_t* out = bits + static_cast<ptrdiff_t>(y) * rowBytes;
    for (int32_t x = 0; x < width; ++x, out += pixelBytes) {
      const size_t sourceColumn = static_cast<size_t>(uint64_t{static_cast<uint32_t>(x)} * pixels.width / width);
      const uint8_t* in = pixels.bgr.data() + (sourceRow * pixels.width + sourceColumn) * 3;
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
  return true;
}
