// Line kernels of the descreening resampler. Rows are planar: a row holds its
// planes one after another; every kernel works plane after plane.
#pragma once

#include <cstdint>

// 2 x 2 averages of a pair of source rows into one half-size row; an odd last
// column is left out.
void HalveRows8Rgb(const uint8_t* row0, const uint8_t* row1, uint8_t* out, uint32_t sourceWidth, uint32_t halvedWidth);
void HalveRows8Grey(const uint8_t* row0, const uint8_t* row1, uint8_t* out, uint32_t sourceWidth,
                    uint32_t halvedWidth);
void HalveRows16Rgb(const uint16_t* row0, const uint16_t* row1, uint16_t* out, uint32_t sourceWidth,
                    uint32_t halvedWidth);
void HalveRows16Grey(const uint16_t* row0, const uint16_t* row1, uint16_t* out, uint32_t sourceWidth,
                     uint32_t halvedWidth);

// The 2 x 2 box over a row and its successor, in place in the row; the last
// sample of a plane takes the new value of the one before it.
void BlurRowPair8(uint8_t* row, const uint8_t* next, uint32_t width, int32_t planes);
void BlurRowPair16(uint16_t* row, const uint16_t* next, uint32_t width, int32_t planes);

// One output row from two work rows, linear in x and y; fy is the weight of
// row1. The value is truncated, not rounded or clamped.
void ResampleLineLinear8(const uint8_t* row0, const uint8_t* row1, uint8_t* out, uint32_t halvedWidth,
                         uint32_t outputWidth, double fy, int32_t planes);
void ResampleLineLinear16(const uint16_t* row0, const uint16_t* row1, uint16_t* out, uint32_t halvedWidth,
                          uint32_t outputWidth, double fy, int32_t planes);

// One output row from four work rows (rows y - 1 .. y + 2), Catmull-Rom in x
// and y; the value is clamped to the sample range and rounded.
void ResampleLineCubic8(const uint8_t* const rows[4], uint8_t* out, uint32_t halvedWidth, uint32_t outputWidth,
                        double fy, int32_t planes);
void ResampleLineCubic16(const uint16_t* const rows[4], uint16_t* out, uint32_t halvedWidth, uint32_t outputWidth,
                         double fy, int32_t planes);
