#include "sharpen/negative_curves.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/curves/curve_spline.h"
#include "foundation/memory.h"
#include "foundation/round.h"
#include "sharpen/film_profiles.h"
#include "state/data_source_state.h"

uint8_t gFilmCurvesInGamma = 0;
uint8_t gNegativeConversionOn = 0;
uint8_t gFixedPointFilmRemap = 0;
uint8_t gPreviewTableBuild = 0;

FilmPointList* gNegativeToolProfile = nullptr;
float gNegativeToolExposure = 0.5f;
uint8_t gNegativeToolLinear = 0;

double (*gNegativeCurrentGamma)() = nullptr;

namespace {

constexpr int kMinCurvePoints = 3;
constexpr int kMaxCurvePoints = 60;
constexpr double kSubSteps = 16.0;  // curve samples per 8-bit level

// The point's (input, output) for the channel; the average of the three pairs
// (integer division, as the scale is taken) for any channel but 1-3.
void PointPair(const FilmPoint& p, int16_t channel, int32_t* x, int32_t* y) {
  if (channel >= 1 && channel <= 3) {
    *x = p.value[2 * (channel - 1)];
    *y = p.value[2 * (channel - 1) + 1];
    return;
  }
  *x = (p.value[0] + p.value[2] + p.value[4] + 1) / 3;
  *y = (p.value[1] + p.value[3] + p.value[5] + 1) / 3;
}

uint16_t ToEntry(double v) {
  const int32_t r = TruncRound(v);
  return static_cast<uint16_t>(std::min(std::max(r, 0), 65535));
}

// The line (or gamma curve) from (x0, y0) to (x1, y1) without a film curve.
void FillWithoutCurve(uint16_t* table, int32_t start, double x0, double x1, double y0, double y1, double g) {
  const double width = x1 - x0;
  for (int32_t i = start; i <= x1; ++i) {
    const double t = width > 0 ? (i - x0) / width : 0.0;
    table[i] = ToEntry((g == 0 ? t : std::pow(t, g)) * (y1 - y0) + y0);
  }
}

double Clamp01(double v) { return std::min(std::max(v, 0.0), 1.0); }

// The curve's points scaled into the range; false when the curve cannot be used.
bool ScaledCurvePoints(const FilmCurve* curve, double x0, double x1, double y0, double y1, int16_t channel, double g,
                       std::vector<int32_t>* X, std::vector<int32_t>* Y) {
  const int n = FilmCurvePointCount(curve);
  if (!curve || n < kMinCurvePoints || n > kMaxCurvePoints) return false;
  int32_t xmax, ymax;
  PointPair(FilmCurvePoint(curve, n - 1), channel, &xmax, &ymax);
  if (xmax <= 0 || ymax <= 0) return false;
  for (int k = 0; k < n; ++k) {
    int32_t x, y;
    PointPair(FilmCurvePoint(curve, k), channel, &x, &y);
    const double u = Clamp01(static_cast<double>(x) / xmax);
    double v = static_cast<double>(y) / ymax;
    if (g != 0) v = std::pow(v, g);
    v = Clamp01(v);
    const int32_t sx = TruncRound(x0 + u * (x1 - x0));
    const int32_t sy = TruncRound(y0 + v * (y1 - y0));
    // The spline needs rising inputs: a repeated input keeps the later output.
    if (!X->empty() && X->back() == sx) {
      Y->back() = sy;
    } else {
      X->push_back(sx);
      Y->push_back(sy);
    }
  }
  return X->size() >= static_cast<size_t>(kMinCurvePoints);
}

// The tables read 16 (8-bit) or 1 (16-bit) curve entries per level; before
// the curve is computed they hold the identity, so that a film curve that
// cannot be had leaves the table as it was.
template <typename Entry>
void BuildNegativeTable(Entry* table, FrameRecord* frame, int32_t size, int16_t channel, int32_t top) {
  if (!table || !frame || size < 1 || channel < 0 || channel > 3) return;
  const ToneBlock& block = frame->tone[channel];
  const int32_t s = size / 256;
  const int32_t lo = std::min(std::max<int32_t>(block.inputLow, 0), size - 1);
  const int32_t hi = std::min(std::max<int32_t>(block.inputHigh * s - 1, 0), size - 1);
  std::vector<Entry> copy(table, table + size);
  auto* temp = static_cast<uint16_t*>(AllocBlock(static_cast<uint32_t>(size) * sizeof(uint16_t)));
  if (!temp) return;
  if (s <= 1) {
    for (int32_t i = 0; i < size; ++i) temp[i] = static_cast<uint16_t>(std::min<int32_t>(i * 16, 65535));
    ComputeNegativeCurves(temp, lo, hi, kSubSteps * lo, kSubSteps * hi + 15, channel, frame, 0.0);
    for (int32_t i = lo; i <= hi; ++i) {
      const double v = temp[i] / kSubSteps;
      const int32_t j = static_cast<int32_t>(v);
      const double f = v - j;
      int32_t entry;
      if (j >= size - 1) {
        entry = copy[size - 1];
      } else if (f <= 0) {
        entry = copy[j];
      } else {
        entry = TruncRound(copy[j] * (1 - f) + copy[j + 1] * f);
      }
      table[i] = static_cast<Entry>(std::min(std::max(entry, 0), top));
    }
  } else {
    for (int32_t i = 0; i < size; ++i) temp[i] = static_cast<uint16_t>(i);
    const int32_t from = lo * s;
    ComputeNegativeCurves(temp, from, hi, from, hi, channel, frame, 0.0);
    for (int32_t i = from; i <= hi; ++i) table[i] = copy[std::min<int32_t>(temp[i], size - 1)];
  }
  FreeBlock(temp);
}

}  // namespace

float ClampFilmExposure(float value) { return std::min(std::max(value, 0.0f), 1.0f); }

bool CopyNegativeSourceData(FilmPointList** list, uint32_t* exposureBits) {
  if (!gNegativeToolProfile || !list) return false;
  FreeFilmPointList(*list);
  float exposure = gNegativeToolExposure;
  if (gNegativeToolLinear) {
    *list = NewFilmPointList(2, 32767);
    exposure = 0.0f;
  } else {
    *list = CopyFilmPointList(gNegativeToolProfile);
  }
  if (exposureBits) std::memcpy(exposureBits, &exposure, sizeof exposure);
  return *list != nullptr;
}

void ComputeFilmCurveTable(const FilmCurve* curve, uint16_t* table, double x0, double x1, double y0, double y1,
                           int16_t channel, double gamma) {
  const int32_t start = static_cast<int32_t>(std::ceil(x0));
  const double g = gamma > 0 ? 1.0 / gamma : 0.0;
  if (!table) return;
  std::vector<int32_t> X, Y;
  if (!ScaledCurvePoints(curve, x0, x1, y0, y1, channel, g, &X, &Y)) {
    FillWithoutCurve(table, start, x0, x1, y0, y1, g);
    return;
  }
  CurveSplineWide(X.data(), Y.data(), static_cast<int>(X.size()), static_cast<int>(x1 - start), table + start);
  // The spline may overshoot between its points.
  const double low = std::min(y0, y1);
  const double high = std::max(y0, y1);
  for (int32_t i = start; i <= x1; ++i) {
    table[i] = static_cast<uint16_t>(std::min(std::max<double>(table[i], low), high));
  }
}

void ComputeNegativeCurves(uint16_t* table, double x0, double x1, double y0, double y1, int16_t channel,
                           FrameRecord* frame, double gamma) {
  const int32_t start = static_cast<int32_t>(std::ceil(x0));
  const int64_t entries = static_cast<int64_t>(std::ceil(x1)) + 1;
  FreeFilmProfileCache();
  float exposure = 0;
  uint32_t exposureBits = 0;
  if (CopyNegativeSourceData(&gFilmProfileCache, &exposureBits)) {
    std::memcpy(&exposure, &exposureBits, sizeof exposure);
  } else if (frame) {
    LoadFilmProfile(&gFilmProfileCache, static_cast<int16_t>(frame->filmProfileRef));
    exposure = frame->filmProfileValue;
  }
  const int16_t curves = FilmCurveCount(gFilmProfileCache);
  if (!table || !gFilmProfileCache || curves < 1 || entries <= start) return;
  const double x = ClampFilmExposure(exposure) * (curves - 1);
  const int i1 = static_cast<int>(x);
  const int i2 = static_cast<int>(std::ceil(x));
  if (i1 < 0 || i2 >= curves) return;
  if (!gDataSourceState.deviceHas16Bits && gamma == 0.0 && gNegativeCurrentGamma) gamma = gNegativeCurrentGamma();
  if (i1 == i2) {
    ComputeFilmCurveTable(FilmCurveAt(gFilmProfileCache, i1), table, x0, x1, y0, y1, channel, gamma);
    return;
  }
  const auto bytes = static_cast<uint32_t>(entries * sizeof(uint16_t));
  auto* a = static_cast<uint16_t*>(AllocBlock(bytes));
  auto* b = static_cast<uint16_t*>(AllocBlock(bytes));
  if (a && b) {
    ComputeFilmCurveTable(FilmCurveAt(gFilmProfileCache, i1), a, x0, x1, y0, y1, channel, gamma);
    ComputeFilmCurveTable(FilmCurveAt(gFilmProfileCache, i2), b, x0, x1, y0, y1, channel, gamma);
    const double t = x - i1;
    for (int32_t i = start; i <= x1; ++i) table[i] = static_cast<uint16_t>(TruncRound(a[i] * (1 - t) + b[i] * t));
  }
  FreeBlock(a);
  FreeBlock(b);
}

void BuildNegativeTable8(uint8_t* table, FrameRecord* frame, int32_t size, int16_t channel) {
  BuildNegativeTable(table, frame, size, channel, 255);
}

void BuildNegativeTable16(uint16_t* table, FrameRecord* frame, int32_t size, int16_t channel) {
  BuildNegativeTable(table, frame, size, channel, 65535);
}
