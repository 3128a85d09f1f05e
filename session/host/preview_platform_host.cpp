#include "session/preview_platform.h"

#include <cstdint>

// The host has no system stretching: nearest neighbour stands in for the halftone.
bool StretchPreviewHalftone(const DibHeader* source, GlobalDib target) {
  if (!source || !target || source->bitCount != 32 || target->bitCount != 32) return false;
  const int32_t width = target->width, height = GlobalDibHeight(target);
  for (int32_t y = 0; y < height; ++y) {
    const int64_t sy = int64_t{y} * GlobalDibHeight(source) / height;
    const auto* in = reinterpret_cast<const uint32_t*>(GlobalDibBits(source) + sy * GlobalDibStride(source));
    auto* out = reinterpret_cast<uint32_t*>(GlobalDibBits(target) + int64_t{y} * GlobalDibStride(target));
    for (int32_t x = 0; x < width; ++x) out[x] = in[int64_t{x} * source->width / width];
  }
  return true;
}
