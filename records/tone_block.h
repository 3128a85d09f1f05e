// The tone settings of one channel as a frame stores them: 120 bytes,
// little-endian, four of them inside every FrameRecord. Tone values run
// 0..256, where 256 is full scale of the 8-bit range.
#pragma once

#include <cstddef>
#include <cstdint>

// Per fixed measuring point: this channel's source and target tone, 0..255; 0/0 = unused.
struct ToneFixedPointValue {
  int16_t source;
  int16_t target;
};

struct ToneBlock {
  uint32_t version;                           // 1
  uint16_t gradationX[7];                     // input positions of the gradation points
  uint16_t gradationY[7];                     // their output values
  int16_t inputLow;                           // input range the gradation curve is laid over
  int16_t inputHigh;
  int16_t outputLow;                          // output values the curve section starts and ends at
  int16_t outputHigh;
  double gammaFactor;                         // mid-tone factor
  int16_t contrast;                           // the expert values
  int16_t brightness;
  int16_t midtoneShift;
  int16_t upperContrast;
  int16_t lowerContrast;
  uint8_t shiftMode;                          // weighting scheme of midtoneShift, 0 or 1
  uint8_t reserved59;
  int16_t endLow;                             // output at the first table entry (below inputLow)
  int16_t endHigh;                            // output at the last table entry (above inputHigh)
  ToneFixedPointValue fixedPointValues[4];
  uint8_t reserved80[40];
};

static_assert(sizeof(ToneBlock) == 120, "stored size");
static_assert(offsetof(ToneBlock, version) == 0, "stored layout");
static_assert(offsetof(ToneBlock, gradationX) == 4, "stored layout");
static_assert(offsetof(ToneBlock, gradationY) == 18, "stored layout");
static_assert(offsetof(ToneBlock, inputLow) == 32, "stored layout");
static_assert(offsetof(ToneBlock, inputHigh) == 34, "stored layout");
static_assert(offsetof(ToneBlock, outputLow) == 36, "stored layout");
static_assert(offsetof(ToneBlock, outputHigh) == 38, "stored layout");
static_assert(offsetof(ToneBlock, gammaFactor) == 40, "stored layout");
static_assert(offsetof(ToneBlock, contrast) == 48, "stored layout");
static_assert(offsetof(ToneBlock, brightness) == 50, "stored layout");
static_assert(offsetof(ToneBlock, midtoneShift) == 52, "stored layout");
static_assert(offsetof(ToneBlock, upperContrast) == 54, "stored layout");
static_assert(offsetof(ToneBlock, lowerContrast) == 56, "stored layout");
static_assert(offsetof(ToneBlock, shiftMode) == 58, "stored layout");
static_assert(offsetof(ToneBlock, reserved59) == 59, "stored layout");
static_assert(offsetof(ToneBlock, endLow) == 60, "stored layout");
static_assert(offsetof(ToneBlock, endHigh) == 62, "stored layout");
static_assert(offsetof(ToneBlock, fixedPointValues) == 64, "stored layout");
static_assert(offsetof(ToneBlock, reserved80) == 80, "stored layout");

// The 64-byte block of the old 5208-byte frame record: bytes 0-58 and the
// i16 pair at 60/62 mean what they mean today; byte 59 is not carried over.
struct OldToneBlock {
  uint8_t bytes[64];
};

constexpr size_t kOldToneBlockCarriedBytes = 59;   // bytes 0-58
constexpr size_t kOldToneBlockEndPair = 60;        // endLow, endHigh

// Converts the old layout: zero-filled, the carried bytes copied, version 1.
void UpgradeToneBlock(const OldToneBlock* old, ToneBlock* out);
