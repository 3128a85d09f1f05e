#include "tone/gradation_points.h"

#include <algorithm>
#include <cstdlib>

#include "foundation/curves/curve_spline.h"
#include "tone/tone_engine_state.h"

namespace {

// Weights of the mid-tone shift per point, for x and y, by the sign of the
// shift and the block's shift mode.
struct ShiftWeights {
  int x[kGradationPoints];
  int y[kGradationPoints];
};

constexpr ShiftWeights kMode1Darker = {{0, 10, 8, 4, 0, 0, 0}, {0, -29, -47, -41, -25, -14, 0}};
constexpr ShiftWeights kMode1Lighter = {{0, 0, 0, 15, 9, 7, 0}, {0, 20, 36, 55, 34, 21, 0}};
constexpr ShiftWeights kMode0Darker = {{0, 0, 0, 0, 0, 0, 0}, {0, -11, -23, -33, -23, -14, 0}};
constexpr ShiftWeights kMode0Lighter = {{0, 0, 0, 0, 0, 0, 0}, {0, 15, 24, 31, 29, 17, 0}};

constexpr int kToneTop = 256;
constexpr int kMinimumPointGap = 6;

// The contrast a (percent, kept in a signed byte) and the shift dx, dy of point p.
struct PointAdjustment {
  int a;
  int dx;
  int dy;
};

PointAdjustment AdjustmentOf(int p, const ToneBlock& block) {
  PointAdjustment adjustment = {0, 0, 0};
  if (p <= 0 || p >= kGradationPoints - 1) return adjustment;
  const double f = 1.5 - std::abs(static_cast<int>(block.gradationX[p]) - 128) / 96.0;
  int a = static_cast<int>(block.contrast * f);
  if (p < 3) a += static_cast<int>(block.lowerContrast * f);
  if (p > 3) a += static_cast<int>(block.upperContrast * f);
  adjustment.a = static_cast<int8_t>(a);

  const int s = block.midtoneShift;
  const ShiftWeights& weights = block.shiftMode != 0 ? (s < 0 ? kMode1Darker : kMode1Lighter)
                                                     : (s < 0 ? kMode0Darker : kMode0Lighter);
  // Integer division truncates toward zero.
  const int sign = s < 0 ? 1 : -1;
  adjustment.dx = sign * (weights.x[p] * s / 20);
  adjustment.dy = sign * (weights.y[p] * s / 20);
  return adjustment;
}

}  // namespace

int16_t EvaluateGradationPoint(int16_t p, int16_t y, int32_t x, ToneBlock block, int16_t* xOut) {
  const PointAdjustment adj = AdjustmentOf(p, block);
  const int value = static_cast<int>((y - 128) * (1 + adj.a / 100.0) + block.brightness + 128 + adj.dy);
  *xOut = static_cast<int16_t>(x + adj.dx);
  return static_cast<int16_t>(std::min(std::max(value, 0), kToneTop));
}

int16_t InvertGradationPoint(int16_t p, int16_t yEvaluated, int32_t xEvaluated, ToneBlock block, int16_t* xOut) {
  const PointAdjustment adj = AdjustmentOf(p, block);
  *xOut = static_cast<int16_t>(xEvaluated - adj.dx);
  const double factor = 1 + adj.a / 100.0;
  // A contrast of -100 flattens the point: every y maps to the middle, so
  // the inverse keeps the value it was given.
  if (factor == 0) return yEvaluated;
  return static_cast<int16_t>((yEvaluated - block.brightness - adj.dy - 128) / factor + 128);
}

void EvaluateGradationPoints(const ToneBlock& block, uint16_t x[kGradationPoints], uint16_t y[kGradationPoints]) {
  for (int16_t p = 0; p < kGradationPoints; ++p) {
    int16_t xOut;
    y[p] = static_cast<uint16_t>(
        EvaluateGradationPoint(p, static_cast<int16_t>(block.gradationY[p]), block.gradationX[p], block, &xOut));
    x[p] = static_cast<uint16_t>(xOut);
  }
}

void SpaceGradationPoints() {
  ToneBlock& copy = gToneWorkingCopy;
  int16_t previousX;
  EvaluateGradationPoint(0, static_cast<int16_t>(copy.gradationY[0]), copy.gradationX[0], copy, &previousX);
  for (int16_t p = 1; p <= 5; ++p) {
    int16_t x;
    EvaluateGradationPoint(p, static_cast<int16_t>(copy.gradationY[p]), copy.gradationX[p], copy, &x);
    if (x < previousX + kMinimumPointGap) x = static_cast<int16_t>(previousX + kMinimumPointGap);
    int16_t rawX;
    InvertGradationPoint(p, static_cast<int16_t>(copy.gradationY[p]), x, copy, &rawX);
    copy.gradationX[p] = static_cast<uint16_t>(rawX);
    previousX = x;
  }
}

void BuildGradationCurve8(uint8_t* table, ToneBlock block, int32_t n) {
  if (!table || n < 1) return;
  uint16_t x[kGradationPoints], y[kGradationPoints];
  EvaluateGradationPoints(block, x, y);
  CurveSpline(x, y, kGradationPoints, n - 1, table);
}
