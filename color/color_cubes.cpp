#include "color/color_cubes.h"

#include "color/calibration_tables.h"
#include "color/color_matrix.h"
#include "color/mask_region.h"

namespace {

constexpr int32_t kPlane = kCubeNodes * kCubeNodes;  // node step of the first index

// One tetrahedron of a cell: value = P[base] x F + sum of (P[node] - P[base]) x weight.
template <typename W>
struct Tetrahedron {
  int32_t base;
  int32_t node[3];
  W weight[3];
};

inline int64_t Half(int64_t x) { return x >> 1; }
inline double Half(double x) { return x * 0.5; }

// The node offsets from the cell's first node: P_abc at 1089a + 33b + c.
constexpr int32_t P(int a, int b, int c) { return a * kPlane + b * kCubeNodes + c; }

// The five tetrahedra, tested in this order; the last is the central one.
template <typename W>
Tetrahedron<W> ChooseTetrahedron(W f0, W f1, W f2, W F) {
  if (f0 + f1 + f2 <= F) return {P(0, 0, 0), {P(1, 0, 0), P(0, 1, 0), P(0, 0, 1)}, {f0, f1, f2}};
  if (f1 + f2 - f0 >= F) return {P(0, 1, 1), {P(1, 1, 1), P(0, 0, 1), P(0, 1, 0)}, {f0, F - f1, F - f2}};
  if (f0 - f1 + f2 >= F) return {P(1, 0, 1), {P(0, 0, 1), P(1, 1, 1), P(1, 0, 0)}, {F - f0, f1, F - f2}};
  if (f0 + f1 - f2 >= F) return {P(1, 1, 0), {P(0, 1, 0), P(1, 0, 0), P(1, 1, 1)}, {F - f0, F - f1, f2}};
  return {P(1, 1, 1),
          {P(1, 0, 0), P(0, 1, 0), P(0, 0, 1)},
          {Half(f0 - f1 - f2 + F), Half(f1 - f0 - f2 + F), Half(f2 - f0 - f1 + F)}};
}

template <typename T>
T Clamp(T v, T low, T high) {
  return v < low ? low : (v > high ? high : v);
}

// 0..1, and 0 for a value that is not a number.
inline double ClampUnit(double v) { return v > 0 ? (v < 1 ? v : 1) : 0; }

// Integer lookup of one pixel: cell index a >> cellShift, fraction scaled to
// 65536 per cell; weights shifted right by weightShift, the base value left
// by 16 - weightShift; the sum clamped to 0..top and shifted down by 16 - weightShift.
template <typename S>
void LookupInteger(const S* cube, const S a[3], S out[3], int cellShift, int weightShift) {
  const int32_t fractionMask = (1 << cellShift) - 1;
  const int32_t base = ((a[0] >> cellShift) * kCubeNodes + (a[1] >> cellShift)) * kCubeNodes + (a[2] >> cellShift);
  int64_t f[3];
  for (int n = 0; n < 3; ++n) f[n] = static_cast<int64_t>(a[n] & fractionMask) << (16 - cellShift);
  const Tetrahedron<int64_t> t = ChooseTetrahedron<int64_t>(f[0], f[1], f[2], 65536);
  const int scale = 16 - weightShift;
  const int64_t top = (int64_t{1} << (scale + 8 * static_cast<int>(sizeof(S)))) - 1;
  const S* p = cube + 3 * (base + t.base);
  for (int c = 0; c < 3; ++c) {
    int64_t value = static_cast<int64_t>(p[c]) << scale;
    for (int k = 0; k < 3; ++k) {
      const S* q = cube + 3 * (base + t.node[k]);
      value += (static_cast<int64_t>(q[c]) - p[c]) * (t.weight[k] >> weightShift);
    }
    out[c] = static_cast<S>(Clamp<int64_t>(value, 0, top) >> scale);
  }
}

}  // namespace

MemHandle NewCube8() { return NewMemHandle(kCube8Bytes); }
MemHandle NewCube16() { return NewMemHandle(kCube16Bytes); }

void InitIdentityCube8(uint8_t* cube) {
  auto node = [](int32_t i) { return static_cast<uint8_t>(i == kCubeNodes - 1 ? 255 : i * 8); };
  for (int32_t r = 0; r < kCubeNodes; ++r)
    for (int32_t g = 0; g < kCubeNodes; ++g)
      for (int32_t b = 0; b < kCubeNodes; ++b) {
        *cube++ = node(r);
        *cube++ = node(g);
        *cube++ = node(b);
      }
}

void InitIdentityCube(uint16_t* cube) {
  auto node = [](int32_t i) { return static_cast<uint16_t>(i == kCubeNodes - 1 ? 65535 : i * 2048); };
  for (int32_t r = 0; r < kCubeNodes; ++r)
    for (int32_t g = 0; g < kCubeNodes; ++g)
      for (int32_t b = 0; b < kCubeNodes; ++b) {
        *cube++ = node(r);
        *cube++ = node(g);
        *cube++ = node(b);
      }
}

void InitIdentityCubeDoubles(double* cube) {
  auto node = [](int32_t i) { return (i == kCubeNodes - 1 ? 65535 : i * 2048) / 65535.0; };
  for (int32_t r = 0; r < kCubeNodes; ++r)
    for (int32_t g = 0; g < kCubeNodes; ++g)
      for (int32_t b = 0; b < kCubeNodes; ++b) {
        *cube++ = node(r);
        *cube++ = node(g);
        *cube++ = node(b);
      }
}

void ResetCube(MemHandle cube16) {
  if (!cube16) return;
  uint16_t* cube = reinterpret_cast<uint16_t*>(cube16->data);
  if (CalibrationHoldsCube()) UnitDoublesToU16(cube, CalibrationCubeTable(), kCubeEntries * 3);
  else InitIdentityCube(cube);
}

void ApplyColorCube8(const uint8_t* in, uint8_t* out, MemHandle cube8, int32_t pixelCount, int16_t inStep,
                     int16_t inChannelOffset, int16_t outStep, int16_t outChannelOffset, uint16_t x0, uint16_t y,
                     const ColorMatrixLutSet* maskSet) {
  if (!cube8) return;
  const uint8_t* cube = cube8->data;
  const MaskRegion* region = maskSet ? maskSet->maskRegion : nullptr;
  for (int32_t k = 0; k < pixelCount; ++k, in += inStep, out += outStep) {
    const uint8_t a[3] = {in[0], in[inChannelOffset], in[2 * inChannelOffset]};
    uint8_t v[3] = {a[0], a[1], a[2]};
    if (!region || MaskRegionContains(region, x0 + k, y)) LookupInteger<uint8_t>(cube, a, v, 3, 0);
    out[0] = v[0];
    out[outChannelOffset] = v[1];
    out[2 * outChannelOffset] = v[2];
  }
}

void ApplyColorCube16(const uint16_t* in, uint16_t* out, MemHandle cube16, int32_t pixelCount, uint16_t inStep,
                      uint16_t inChannelOffset, uint16_t outStep, uint16_t outChannelOffset) {
  if (!cube16) return;
  const uint16_t* cube = reinterpret_cast<const uint16_t*>(cube16->data);
  for (int32_t k = 0; k < pixelCount; ++k, in += inStep, out += outStep) {
    const uint16_t a[3] = {in[0], in[inChannelOffset], in[2 * inChannelOffset]};
    uint16_t v[3];
    LookupInteger<uint16_t>(cube, a, v, 11, 2);
    out[0] = v[0];
    out[outChannelOffset] = v[1];
    out[2 * outChannelOffset] = v[2];
  }
}

void ApplyColorCubeToDoubles(const double* in, double* out, const double* cube, int32_t pixelCount, uint16_t inStep,
                             uint16_t inChannelOffset, uint16_t outStep, uint16_t outChannelOffset) {
  if (!cube || pixelCount < 1) return;
  for (int32_t k = 0; k < pixelCount; ++k, in += inStep, out += outStep) {
    int32_t i[3];
    double f[3];
    for (int n = 0; n < 3; ++n) {
      // Clamped first, so that no colour reads beyond node 32.
      const double position = ClampUnit(in[n * inChannelOffset]) * 31.99951171875;
      i[n] = static_cast<int32_t>(position);
      f[n] = position - i[n];
    }
    const int32_t base = (i[0] * kCubeNodes + i[1]) * kCubeNodes + i[2];
    const Tetrahedron<double> t = ChooseTetrahedron<double>(f[0], f[1], f[2], 1.0);
    const double* p = cube + 3 * (base + t.base);
    double v[3];
    for (int c = 0; c < 3; ++c) {
      v[c] = p[c];
      for (int n = 0; n < 3; ++n) v[c] += (cube[3 * (base + t.node[n]) + c] - p[c]) * t.weight[n];
    }
    for (int c = 0; c < 3; ++c) out[c * outChannelOffset] = ClampUnit(v[c]);
  }
}

void UnitDoublesToU8(uint8_t* out, const double* in, int32_t n) {
  if (!out || !in) return;
  for (int32_t i = 0; i < n; ++i) {
    const double v = in[i] * 255 + 0.5;
    out[i] = static_cast<uint8_t>(v >= 0 ? (v < 255 ? v : 255) : 0);
  }
}

void UnitDoublesToU16(uint16_t* out, const double* in, int32_t n) {
  if (!out || !in) return;
  for (int32_t i = 0; i < n; ++i) {
    const double v = in[i] * 65535 + 0.5;
    out[i] = static_cast<uint16_t>(v >= 0 ? (v < 65535 ? v : 65535) : 0);
  }
}

void U16ToUnitDoubles(double* out, const uint16_t* in, int32_t n) {
  if (!out || !in) return;
  for (int32_t i = 0; i < n; ++i) out[i] = in[i] / 65535.0;
}
