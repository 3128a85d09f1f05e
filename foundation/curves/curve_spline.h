// Cubic splines that turn a few control points into a lookup table (tone
// curves and gradation). The x values must increase strictly. The table has
// m + 1 entries at m + 1 evenly spaced positions from the first to the last x.
#pragma once

#include <cstdint>

// Single precision, entries clamped to 0..255. A y value of 255 counts as 256,
// so that a curve ending at 255 reaches full scale.
void CurveSpline(const uint16_t* x, const uint16_t* y, int n, int m, uint8_t* table);
// The same with entries clamped to 0..65535.
void CurveSpline16(const uint16_t* x, const uint16_t* y, int n, int m, uint16_t* table);
// 32-bit control points in double precision, entries clamped to 0..65535; y taken as it is.
void CurveSplineWide(const int32_t* x, const int32_t* y, int n, int m, uint16_t* table);
