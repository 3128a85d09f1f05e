#include "color/planar_rows.h"

namespace {

// order[i] is the plane that lands in the pixel's sample i.
template <typename Sample, int Planes>
void Interleave(const Sample* source, Sample* target, int32_t rows, int32_t width, const int (&order)[Planes]) {
  for (int32_t row = 0; row < rows; ++row) {
    for (int32_t x = 0; x < width; ++x) {
      for (int sample = 0; sample < Planes; ++sample) *target++ = source[order[sample] * width + x];
    }
    source += Planes * width;
  }
}

constexpr int kInOrder3[3] = {0, 1, 2};
constexpr int kInOrder4[4] = {0, 1, 2, 3};
constexpr int kReversed3[3] = {2, 1, 0};

}  // namespace

void Planar3ToInterleaved8(const uint8_t* source, uint8_t* target, int32_t rows, int32_t width) {
  Interleave(source, target, rows, width, kInOrder3);
}

void Planar3ToInterleaved16(const uint16_t* source, uint16_t* target, int32_t rows, int32_t width) {
  Interleave(source, target, rows, width, kInOrder3);
}

void Planar4ToInterleaved8(const uint8_t* source, uint8_t* target, int32_t rows, int32_t width) {
  Interleave(source, target, rows, width, kInOrder4);
}

void Planar3ToBgr8(const uint8_t* source, uint8_t* target, int32_t rows, int32_t width) {
  Interleave(source, target, rows, width, kReversed3);
}
