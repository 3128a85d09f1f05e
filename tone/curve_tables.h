// The complete tone table of one channel: gradation curve laid over the
// input range, fixed measuring points, ramps to the end values and, for a
// negative, the film conversion. The 8-bit path serves the preview, single
// colours and the dialogs; the 16-bit path composes the gamma of the original
// type on a 16384-level work scale for the scan output and the writers.
// Tables are built once per frame or band; applying them is a lookup per sample.
#pragma once

#include <cstdint>

#include "records/frame_record.h"
#include "records/tone_block.h"

constexpr int16_t kToneWorkLevels = 16384;      // the 16-bit path's 14-bit scale
constexpr int32_t kCurveTableBytes = 260;       // at least what BuildCurveTable writes (index 0..256)

// The 8-bit table of one channel (entries 0..255; entry 256 may be written).
// flag is the frame's invert byte and does not change the result.
void BuildCurveTable(uint8_t* table, ToneBlock block, uint8_t flag, FrameRecord* frame, int16_t channel);
// BuildCurveTable of the frame's block channel without that channel's fixed-point values.
void BuildChannelCurveTable(uint8_t* table, FrameRecord* frame, int16_t channel);

// The 16-bit table: n entries (a multiple of 256, at most N) with values
// 0..N-1, gamma first and the curve after it. gammaDivisor <= 0 counts as 1.
void BuildFrameToneTables(uint16_t* out, ToneBlock block, int16_t n, int16_t N, int16_t channel, uint8_t useNegative,
                          FrameRecord* frame, double gammaDivisor);
// The 16-bit table reduced to 8 bits.
void ComputeToneTables(uint8_t* out, ToneBlock block, int16_t n, int16_t channel, uint8_t useNegative,
                       FrameRecord* frame, double gammaDivisor);
// The plain gamma table of n entries at 8 bits, built and reduced as
// ComputeToneTables builds a neutral block's: composing that with the inverse
// of this one gives the identity.
void BuildReducedGammaTable8(uint8_t* out, int16_t n, double gamma);
// ComputeToneTables with the given gamma standing as the current one for the call.
void ComputeToneTablesWithGamma(uint8_t* out, ToneBlock block, int16_t n, int16_t channel, uint8_t useNegative,
                                FrameRecord* frame, double gamma);
