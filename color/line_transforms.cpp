#include "color/line_transforms.h"

#include <cstdlib>

// Not built yet: no scanner or output transform, no calibration cube.
bool IsScannerTransformReady() { return false; }
bool IsOutputTransformReady() { return false; }
void* AllocLineBuffer(uint16_t n) { return std::calloc(n ? n : 1, 4); }
void FreeLineBuffer(void* buffer) { std::free(buffer); }
bool TranslateLine8(uint8_t*, int32_t, void*) { return true; }
void ApplyColorCube8(uint8_t*, int32_t, int32_t) {}
void TranslateOutputLine(const uint8_t*, uint8_t*, int32_t, bool) {}
void TranslateOutputLine16(const uint16_t*, uint16_t*, int32_t, bool) {}

namespace {

template <typename Sample, int Planes>
void Interleave(const Sample* planes, Sample* out, int32_t rows, int32_t width, const int (&order)[Planes]) {
  for (int32_t y = 0; y < rows; ++y) {
    const Sample* row = planes + static_cast<size_t>(y) * Planes * width;
    for (int32_t x = 0; x < width; ++x)
      for (int c = 0; c < Planes; ++c) *out++ = row[order[c] * width + x];
  }
}

}  // namespace

void Planar3ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width) {
  Interleave<uint8_t, 3>(planes, out, rows, width, {0, 1, 2});
}
void Planar3ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width) {
  Interleave<uint16_t, 3>(planes, out, rows, width, {0, 1, 2});
}
void Planar4ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width) {
  Interleave<uint8_t, 4>(planes, out, rows, width, {0, 1, 2, 3});
}
void Planar4ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width) {
  Interleave<uint16_t, 4>(planes, out, rows, width, {0, 1, 2, 3});
}
void Planar3ToBgr8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width) {
  Interleave<uint8_t, 3>(planes, out, rows, width, {2, 1, 0});
}
