#include "foundation/fixed_point.h"

#include "foundation/round.h"

Fixed FixRatio(int32_t a, int32_t b) { return TruncRound(static_cast<double>(a) / b * 65536.0); }

Fixed FixRatio16(int16_t a, int16_t b) { return FixRatio(a, b); }

Fixed FixMul(Fixed a, Fixed b) { return TruncRound(static_cast<double>(a) * b / 65536.0); }

Fixed DoubleToFix(double x) { return TruncRound(x * 65536.0); }

void U16ToFloats(const uint16_t* values, int count, float* out) {
  const float scale = 1.0f / 65535.0f;
  for (int i = 0; i < count; ++i) out[i] = values[i] * scale;
}

void FloatsToU16(const float* values, int count, uint16_t* out) {
  for (int i = 0; i < count; ++i) {
    float v = values[i] * 65535.0f + 0.5f;
    out[i] = v <= 0.0f ? 0 : v >= 65535.0f ? 65535 : static_cast<uint16_t>(v);
  }
}

int32_t IntPower(int16_t base, int exponent) {
  int32_t result = 1;
  for (int i = 0; i < exponent; ++i) result *= base;
  return result;
}
