#include "tone/curve_tables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/curves/curve_spline.h"
#include "foundation/memory.h"
#include "foundation/round.h"
#include "sharpen/negative_curves.h"
#include "tone/gamma_tables.h"
#include "tone/gradation_points.h"
#include "tone/tone_curve.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr int kToneTop = 256;
constexpr int kTop8 = 255;

// The input range of a block, kept inside the table whatever the record holds.
struct InputRange {
  int32_t low;
  int32_t high;
};

InputRange InputRangeOf(const ToneBlock& block) {
  const int32_t low = std::min(std::max<int32_t>(block.inputLow, 0), kToneTop - 1);
  const int32_t high = std::min(std::max<int32_t>(block.inputHigh, low + 1), kToneTop);
  return InputRange{low, high};
}

// The film conversion of the finished tables runs for a negative unless the
// film curves already shaped the gamma table.
bool NegativePassOn() { return ToneNegativeOriginal() && gNegativeConversionOn && !gFilmCurvesInGamma; }

// A table of N work levels read at entry i of n, full scale at full scale
// (entry i sits at i * (N - 1) / (n - 1)), linear between the table's entries.
int32_t SampleWorkTable(const uint16_t* table, int32_t N, int32_t i, int32_t n) {
  const double q = n > 1 ? static_cast<double>(i) * (N - 1) / (n - 1) : 0.0;
  const int32_t j = static_cast<int32_t>(q);
  if (q > j && j + 1 < N) return TruncRound(table[j] + (q - j) * (table[j + 1] - table[j]));
  return table[j];
}

// Work levels 0..16383 to 0..255 with the same full scale, so that a neutral
// curve gives back what an 8-bit file holds.
uint8_t ReduceWorkLevel(int32_t w) {
  return static_cast<uint8_t>(std::min(kTop8, TruncRound(static_cast<double>(w) * kTop8 / (kToneWorkLevels - 1))));
}

bool CorrectThroughFixedPoints(void* table, bool wide, int32_t n, int32_t lo, int32_t hi, int32_t outLo,
                               int32_t outHi, FrameRecord* frame, int16_t channel) {
  ToneCurve curve(kFrameCurvePoints);
  if (curve.capacity() == 0) return false;
  LoadCurvePointsFromFrame(frame, &curve);
  return curve.BuildPointCorrectionTable(table, wide ? 1 : 0, n, n, lo, hi, outLo, outHi, frame, channel);
}

}  // namespace

void BuildCurveTable(uint8_t* table, ToneBlock block, uint8_t /*flag*/, FrameRecord* frame, int16_t channel) {
  if (!table) return;
  const InputRange range = InputRangeOf(block);
  const int32_t low = range.low;
  const int32_t high = range.high;

  uint16_t x[kGradationPoints], y[kGradationPoints];
  EvaluateGradationPoints(block, x, y);
  CurveSpline(x, y, kGradationPoints, high - low, table + low);

  CorrectThroughFixedPoints(table, false, kTop8 + 1, low, std::min(high, kTop8), block.outputLow,
                            std::min<int32_t>(block.outputHigh, kTop8), frame, channel);

  if (low != 0) {
    for (int32_t i = 0; i < low; ++i) {
      table[i] = static_cast<uint8_t>(block.endLow + TruncRound(static_cast<double>(i) * (table[low] - block.endLow) / low));
    }
  }
  if (high < kTop8) {
    const int32_t end = std::min<int32_t>(block.endHigh, kTop8);
    const int32_t start = table[high];
    for (int32_t i = high; i <= kTop8; ++i) {
      table[i] = static_cast<uint8_t>(start + TruncRound(static_cast<double>(i - high) * (end - start) / (kTop8 - high)));
    }
  }
  if (NegativePassOn()) BuildNegativeTable8(table, frame, kTop8 + 1, channel);
}

void BuildChannelCurveTable(uint8_t* table, FrameRecord* frame, int16_t channel) {
  if (!table || !frame || channel < 0 || channel > 3) return;
  // The curve is built from a copy whose channel has no fixed points; the frame stays as it was.
  FrameRecord withoutPoints = *frame;
  for (ToneFixedPointValue& value : withoutPoints.tone[channel].fixedPointValues) value = ToneFixedPointValue{0, 0};
  BuildCurveTable(table, withoutPoints.tone[channel], frame->invert, &withoutPoints, channel);
}

void BuildFrameToneTables(uint16_t* out, ToneBlock block, int16_t n, int16_t N, int16_t channel, uint8_t useNegative,
                          FrameRecord* frame, double gammaDivisor) {
  if (!out || n < 1 || N < kToneTop || n > N) return;
  const double gamma = CurrentGamma() / (gammaDivisor <= 0 ? 1.0 : gammaDivisor);
  const int32_t k = N / kToneTop;
  const uint32_t bytes = static_cast<uint32_t>(N + 10) * sizeof(uint16_t);
  uint16_t* curve = static_cast<uint16_t*>(AllocBlock(bytes));
  uint16_t* power = static_cast<uint16_t*>(AllocBlock(bytes));
  if (!curve || !power) {
    FreeBlock(curve);
    FreeBlock(power);
    return;
  }

  const InputRange range = InputRangeOf(block);
  uint16_t x[kGradationPoints], y[kGradationPoints];
  EvaluateGradationPoints(block, x, y);
  for (int p = 0; p < kGradationPoints; ++p) {
    x[p] = static_cast<uint16_t>(x[p] * k);
    y[p] = static_cast<uint16_t>(y[p] * k);
  }
  CurveSpline16(x, y, kGradationPoints, (range.high - range.low) * k, curve + range.low * k);

  BuildGammaTableForMode(power, N, gamma, channel, useNegative, frame);

  const int32_t last = N - 1;
  const int32_t low = range.low * k;
  const int32_t high = range.high > kTop8 ? last : range.high * k;
  const int32_t outHigh = block.outputHigh > kTop8 ? last : block.outputHigh * k;
  CorrectThroughFixedPoints(curve, true, N, low, high, block.outputLow * k, outHigh, frame, channel);

  if (low != 0) {
    const int32_t endLow = block.endLow * k;
    for (int32_t i = 0; i < low; ++i) {
      curve[i] = static_cast<uint16_t>(endLow + TruncRound(static_cast<double>(i) * (curve[low] - endLow) / low));
    }
  }
  if (high < last) {
    const int32_t end = std::min<int32_t>(block.endHigh, kTop8) * k;
    const int32_t start = curve[high];
    for (int32_t i = high; i <= last; ++i) {
      curve[i] = static_cast<uint16_t>(start + TruncRound(static_cast<double>(i - high) * (end - start) / (last - high)));
    }
  }
  if (NegativePassOn() && !gPreviewTableBuild) BuildNegativeTable16(curve, frame, N, channel);

  // The gamma is applied to the input first, the curve after it.
  for (int32_t i = 0; i < n; ++i) out[i] = curve[std::min(std::max(SampleWorkTable(power, N, i, n), 0), last)];
  FreeBlock(curve);
  FreeBlock(power);
}

void ComputeToneTables(uint8_t* out, ToneBlock block, int16_t n, int16_t channel, uint8_t useNegative,
                       FrameRecord* frame, double gammaDivisor) {
  if (!out || n < 1) return;
  uint16_t* work = static_cast<uint16_t*>(AllocBlock(static_cast<uint32_t>(n) * sizeof(uint16_t)));
  if (!work) return;
  BuildFrameToneTables(work, block, n, kToneWorkLevels, channel, useNegative, frame, gammaDivisor);
  for (int32_t i = 0; i < n; ++i) out[i] = ReduceWorkLevel(work[i]);
  FreeBlock(work);
}

void BuildReducedGammaTable8(uint8_t* out, int16_t n, double gamma) {
  if (!out || n < 1) return;
  std::vector<uint16_t> power(kToneWorkLevels);
  BuildGammaTable(power.data(), kToneWorkLevels, kToneWorkLevels, gamma);
  for (int32_t i = 0; i < n; ++i) out[i] = ReduceWorkLevel(SampleWorkTable(power.data(), kToneWorkLevels, i, n));
}

void ComputeToneTablesWithGamma(uint8_t* out, ToneBlock block, int16_t n, int16_t channel, uint8_t useNegative,
                                FrameRecord* frame, double gamma) {
  const double previous = CurrentGamma();
  SetCurrentGamma(gamma);
  ComputeToneTables(out, block, n, channel, useNegative, frame, 1.0);
  SetCurrentGamma(previous);
}
