// The unsharp mask of output rows: each pixel's brightness against a weighted
// mean of its disc-shaped neighbourhood; a darker pixel is darkened, a
// brighter one brightened, by one amount for all its channels.
#pragma once

#include <cstdint>

struct FrameRecord;

// The filter parameters of a frame.
struct SharpenSettings {
  int32_t threshold;  // differences at or below it are left alone
  int32_t amount;     // percent
  int32_t limit;      // percent: sharpen only up to this darkness
  bool softShadows;   // outside the limit, pull pixels half-way to the mean
  int32_t lightEdge;  // percent of the amount for brightening
  int32_t darkEdge;   // percent of the amount for darkening
  int32_t matrix;     // 0: 3 x 3, 1: 5 x 5, 2: 7 x 7
  bool negative;      // the original is a negative: the limit counts from the other end
};

SharpenSettings SharpenSettingsOf(const FrameRecord& frame, bool negative);

// The neighbourhood radius of a matrix setting.
constexpr int32_t SharpenRadius(int32_t matrix) { return matrix + 1; }

// One output row of planar rows: rows[0 .. 2m] are the source rows r - m ..
// r + m (m by the matrix), out is row r. The m columns at each side are not
// written.
void SharpenRowColor8(const uint8_t* const* rows, uint8_t* out, int32_t columns, const SharpenSettings& settings);
void SharpenRowColor16(const uint16_t* const* rows, uint16_t* out, int32_t columns, const SharpenSettings& settings);
void SharpenRowGrey8(const uint8_t* const* rows, uint8_t* out, int32_t columns, const SharpenSettings& settings);
void SharpenRowGrey16(const uint16_t* const* rows, uint16_t* out, int32_t columns, const SharpenSettings& settings);

// One row of a 32-bit preview bitmap into a separate destination row: the
// rows above and below are read through the stride; the three colour bytes of
// every pixel are written, the fourth byte never.
void SharpenPreviewRow(const uint8_t* source, uint8_t* destination, int32_t stride, int32_t width,
                       const SharpenSettings& settings);
