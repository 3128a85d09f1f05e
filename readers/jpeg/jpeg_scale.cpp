#include "readers/jpeg/jpeg_scale.h"

#include "foundation/round.h"

namespace {
// As the library rounds a scaled dimension.
uint32_t Scaled(uint32_t size, uint32_t denominator) { return (size + denominator - 1) / denominator; }
constexpr uint32_t kDefaultResolution = 72;
}  // namespace

uint32_t ChooseScaleDenominator(uint32_t width, uint32_t height, uint32_t target) {
  uint32_t denominator = 1;
  while (denominator < 8 && (Scaled(width, denominator) > target || Scaled(height, denominator) > target)) {
    denominator *= 2;
  }
  if (denominator > 1 && Scaled(width, denominator) < target && Scaled(height, denominator) < target) {
    denominator /= 2;
  }
  return denominator;
}

uint32_t JfifResolution(bool sawJfif, int densityUnit, uint32_t xDensity, uint32_t scaleDenominator) {
  uint32_t resolution = kDefaultResolution;
  if (sawJfif && xDensity != 0) {
    if (densityUnit == 1) resolution = xDensity;
    if (densityUnit == 2) resolution = static_cast<uint32_t>(TruncRound(xDensity * 2.54));
  }
  return scaleDenominator > 1 ? resolution / scaleDenominator : resolution;
}
