// 16.16 fixed point and small number conversions.
#pragma once

#include <cstdint>

// Signed 16.16 in a 32-bit value: 65536 is 1.0.
typedef int32_t Fixed;

constexpr Fixed kFixedOne = 65536;

// The rounding of these follows TruncRound: truncation toward zero of x + 0.5.
Fixed FixRatio(int32_t a, int32_t b);
Fixed FixRatio16(int16_t a, int16_t b);
Fixed FixMul(Fixed a, Fixed b);
Fixed DoubleToFix(double x);
inline double FixToDouble(Fixed f) { return f / 65536.0; }

// Each value times 1/65535 (as a float).
void U16ToFloats(const uint16_t* values, int count, float* out);
// Each float times 65535, rounded, clamped to 0..65535.
void FloatsToU16(const float* values, int count, uint16_t* out);
// base multiplied exponent times; 1 for an exponent below 1.
int32_t IntPower(int16_t base, int exponent);
