#include "color/lab_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/round.h"
#include "state/data_source_state.h"

namespace {

constexpr int kTableSteps = 4096;

// Fixed-point constants of the L*a*b* formulas, 16.16 unless said.
constexpr int32_t kToeThreshold = 580;      // 0.008856
constexpr int32_t kToeSlope = 1993;         // 7.787 in 8 fraction bits
constexpr int32_t kToeOffset = 9039;        // 16/116
constexpr int32_t kLScale = 4733;           // 2.55 x 116 for f in the 4096 scale
constexpr int32_t kLOffset = 2673997;       // 2.55 x 16
constexpr int32_t kInverseThreshold = 13559;  // 6/29
constexpr int32_t kInverseToe = 33;         // 0.12842 in 8 fraction bits
constexpr int32_t kOne = 65536;

struct LabTables {
  bool built = false;
  double gamma = 1.0;
  double inverseGamma = 1.0;
  uint32_t cube[kTableSteps + 1];
  uint32_t cubeRoot[kTableSteps + 1];
  uint8_t encode[kTableSteps];   // 12-bit linear to 8-bit coded
  uint16_t decode[256];          // 8-bit coded to 12-bit linear
  double toXyz[3][3];
  double toRgb[3][3];
  double white[3];
  int32_t toXyzFixed[3][3];      // 16.16
  int32_t whiteFixed[3];         // 12-bit scale
  // Integer division by the white as a multiply and shift (exact below 2^31).
  uint64_t whiteReciprocal[3];
  int whiteShift[3];
  // The matrix times the decode table: each channel's share of X, Y and Z.
  int32_t share[3][3][256];
  int32_t toRgbFixed[3][3];      // 4096 scale
};

LabTables gLab;

double Determinant(const double m[3][3]) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Inverse by cofactors; false (out unchanged) when the determinant is not usable.
bool Invert(const double m[3][3], double out[3][3]) {
  const double det = Determinant(m);
  if (!std::isfinite(det) || std::fabs(det) < 1e-12) return false;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
      out[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
    }
  }
  return true;
}

// The textbook RGB -> XYZ matrix: the primaries' chromaticity columns scaled by
// the channel weights that make R = G = B = 1 the white (x, y, 1 - x - y).
void BuildMatrices(const float primaries[6], const float whitePoint[2]) {
  double chroma[3][3];
  for (int c = 0; c < 3; ++c) {
    const double x = primaries[2 * c], y = primaries[2 * c + 1];
    chroma[0][c] = x;
    chroma[1][c] = y;
    chroma[2][c] = 1.0 - x - y;
  }
  const double white[3] = {whitePoint[0], whitePoint[1], 1.0 - whitePoint[0] - whitePoint[1]};
  double inverse[3][3];
  double weights[3] = {1.0, 1.0, 1.0};
  if (Invert(chroma, inverse)) {
    for (int r = 0; r < 3; ++r) weights[r] = inverse[r][0] * white[0] + inverse[r][1] * white[1] + inverse[r][2] * white[2];
  }
  for (int r = 0; r < 3; ++r) {
    gLab.white[r] = 0.0;
    for (int c = 0; c < 3; ++c) {
      gLab.toXyz[r][c] = chroma[r][c] * weights[c];
      gLab.white[r] += gLab.toXyz[r][c];
      gLab.toXyzFixed[r][c] = TruncRound(gLab.toXyz[r][c] * kOne);
    }
    gLab.whiteFixed[r] = std::max(1, TruncRound(gLab.white[r] * 4095));
  }
  for (int r = 0; r < 3; ++r) {
    const uint64_t d = static_cast<uint64_t>(gLab.whiteFixed[r]);
    int l = 0;
    while ((uint64_t{1} << l) < d) ++l;
    gLab.whiteShift[r] = 31 + l;
    gLab.whiteReciprocal[r] = ((uint64_t{1} << gLab.whiteShift[r]) + d - 1) / d;
  }
  std::memset(gLab.toRgb, 0, sizeof gLab.toRgb);
  Invert(gLab.toXyz, gLab.toRgb);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) gLab.toRgbFixed[r][c] = TruncRound(gLab.toRgb[r][c] * 4096);
}

template <typename T>
T Clip(int64_t v, int64_t low, int64_t high) {
  return static_cast<T>(v < low ? low : (v > high ? high : v));
}

double Clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// f(t) of a 16.16 ratio to the white, in 16.16.
int32_t LabF(int32_t t) {
  if (t <= kToeThreshold) return ((kToeSlope * std::max(t, -kOne)) >> 8) + kToeOffset;
  if (t >= kOne) return static_cast<int32_t>(gLab.cubeRoot[kTableSteps]);
  const int32_t i = t >> 4, w = t & 15;
  return static_cast<int32_t>((gLab.cubeRoot[i] * (16 - w) + gLab.cubeRoot[i + 1] * w + 7) >> 4);
}

// The inverse of LabF: a 16.16 ratio to the white.
int32_t LabFInverse(int32_t f) {
  if (f <= kInverseThreshold) return ((f - kToeOffset) * kInverseToe) >> 8;
  if (f >= kOne) return static_cast<int32_t>(gLab.cube[kTableSteps]);
  const int32_t i = f >> 4, w = f & 15;
  return static_cast<int32_t>((gLab.cube[i] * (16 - w) + gLab.cube[i + 1] * w + 7) >> 4);
}

struct FValues {
  int32_t x, y, z;
};

// sum / white[k], truncated toward zero as the division would.
int32_t DivideByWhite(int32_t sum, int k) {
  const uint64_t magnitude = static_cast<uint64_t>(sum < 0 ? -int64_t{sum} : sum);
  const int32_t q = static_cast<int32_t>((magnitude * gLab.whiteReciprocal[k]) >> gLab.whiteShift[k]);
  return sum < 0 ? -q : q;
}

// Decode, matrix, ratio to the white, f(t).
FValues Rgb8ToF(uint8_t r, uint8_t g, uint8_t b) {
  int32_t f[3];
  for (int k = 0; k < 3; ++k) {
    const int32_t sum = gLab.share[k][0][r] + gLab.share[k][1][g] + gLab.share[k][2][b];
    f[k] = LabF(DivideByWhite(sum, k));
  }
  return {f[0], f[1], f[2]};
}

// Ratios to the white, matrix back to 12-bit linear RGB, encode.
void FToRgb8(const FValues& f, uint8_t* r, uint8_t* g, uint8_t* b) {
  const int32_t fs[3] = {f.x, f.y, f.z};
  int64_t xyz[3];
  for (int k = 0; k < 3; ++k) xyz[k] = (int64_t{LabFInverse(fs[k])} * gLab.whiteFixed[k]) >> 16;
  uint8_t* out[3] = {r, g, b};
  for (int k = 0; k < 3; ++k) {
    const int32_t* m = gLab.toRgbFixed[k];
    const int64_t linear = (m[0] * xyz[0] + m[1] * xyz[1] + m[2] * xyz[2]) >> 12;
    *out[k] = gLab.encode[Clip<int32_t>(linear, 0, kTableSteps - 1)];
  }
}

int32_t L8FromF(int32_t fY) { return ((fY >> 4) * kLScale - kLOffset) >> 16; }

// f of Y from L in the 8-bit scale (2.55 x L*) with 8 fraction bits.
int32_t FFromL8x256(int64_t l8x256) {
  return static_cast<int32_t>(((l8x256 << 12) + int64_t{kLOffset} * 16) / kLScale);
}

// Calls convert(first, second, third) on the samples of every pixel of rows x
// width planar 8-bit rows.
template <typename Convert>
void ForEachPlanarPixel(uint8_t* buffer, int32_t rows, int32_t width, Convert convert) {
  for (int32_t row = 0; row < rows; ++row) {
    uint8_t* p0 = buffer + static_cast<size_t>(row) * 3 * width;
    uint8_t* p1 = p0 + width;
    uint8_t* p2 = p1 + width;
    for (int32_t i = 0; i < width; ++i) convert(p0[i], p1[i], p2[i]);
  }
}

}  // namespace

void BuildLabTables(double gamma) {
  gLab.gamma = gamma;
  gLab.inverseGamma = gamma != 0.0 ? 1.0 / gamma : 1.0;
  for (int i = 0; i <= kTableSteps; ++i) {
    const double v = static_cast<double>(i) / kTableSteps;
    gLab.cube[i] = static_cast<uint32_t>(TruncRound(kOne * v * v * v));
    gLab.cubeRoot[i] = static_cast<uint32_t>(TruncRound(kOne * std::cbrt(v)));
  }
  for (int i = 0; i < kTableSteps; ++i)
    gLab.encode[i] = static_cast<uint8_t>(TruncRound(255 * std::pow(i / 4095.0, gLab.inverseGamma)));
  for (int i = 0; i < 256; ++i) gLab.decode[i] = static_cast<uint16_t>(TruncRound(4095 * std::pow(i / 255.0, gamma)));
  float primaries[6], white[2];
  std::memcpy(primaries, DefaultsBytes(gDefaults, kDefaultPrimaries), sizeof primaries);
  std::memcpy(white, DefaultsBytes(gDefaults, kDefaultWhitePoint), sizeof white);
  BuildMatrices(primaries, white);
  for (int k = 0; k < 3; ++k)
    for (int c = 0; c < 3; ++c)
      for (int v = 0; v < 256; ++v) gLab.share[k][c][v] = gLab.toXyzFixed[k][c] * gLab.decode[v];
  gLab.built = true;
}

void FreeLabTables() { gLab.built = false; }

void ConvertRgb8ToLab8(uint8_t* buffer, int32_t rows, int32_t width, bool signedAB) {
  if (!gLab.built) return;
  const int32_t aBias = signedAB ? 32767 : 0x807FFF;
  const int32_t abLow = signedAB ? -127 : 0, abHigh = signedAB ? 127 : 255;
  ForEachPlanarPixel(buffer, rows, width, [=](uint8_t& r, uint8_t& g, uint8_t& b) {
    const FValues f = Rgb8ToF(r, g, b);
    r = Clip<uint8_t>(L8FromF(f.y), 0, 255);
    g = static_cast<uint8_t>(Clip<int32_t>((500 * (f.x - f.y) + aBias) >> 16, abLow, abHigh));
    b = static_cast<uint8_t>(Clip<int32_t>((200 * (f.y - f.z) + aBias) >> 16, abLow, abHigh));
  });
}

void ConvertRgb8ToLab16(const uint8_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                        int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset) {
  if (!gLab.built) return;
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* s = source + static_cast<ptrdiff_t>(i) * sourceStep;
    uint16_t* d = destination + static_cast<ptrdiff_t>(i) * destinationStep;
    const FValues f = Rgb8ToF(s[0], s[sourcePlaneOffset], s[2 * sourcePlaneOffset]);
    d[0] = Clip<uint16_t>(((f.y >> 4) * kLScale - kLOffset) >> 8, 0, 65535);
    d[destinationPlaneOffset] = Clip<uint16_t>((500 * (f.x - f.y) + 0x80007F) >> 8, 0, 65535);
    d[2 * destinationPlaneOffset] = Clip<uint16_t>((200 * (f.y - f.z) + 0x80007F) >> 8, 0, 65535);
  }
}

void ConvertRgb16ToLab16(const uint16_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                         int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset,
                         bool signedAB) {
  if (!gLab.built) return;
  const double abOffset = signedAB ? 0.0 : 127.0;
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t* s = source + static_cast<ptrdiff_t>(i) * sourceStep;
    uint16_t* d = destination + static_cast<ptrdiff_t>(i) * destinationStep;
    const double rgb[3] = {s[0] / 65535.0, s[sourcePlaneOffset] / 65535.0, s[2 * sourcePlaneOffset] / 65535.0};
    double lab[3];
    RgbToLab(rgb, lab);
    const double l = std::min(std::max(lab[0], 0.0), 100.0);
    const double a = std::min(std::max(lab[1], -127.0), 127.0);
    const double b = std::min(std::max(lab[2], -127.0), 127.0);
    d[0] = static_cast<uint16_t>(l * 655.35);
    // Signed values keep their two's complement bits in the 16-bit sample.
    d[destinationPlaneOffset] = static_cast<uint16_t>(static_cast<int32_t>((a + abOffset) * 65535 / 254));
    d[2 * destinationPlaneOffset] = static_cast<uint16_t>(static_cast<int32_t>((b + abOffset) * 65535 / 254));
  }
}

void ConvertLab8ToRgb8(uint8_t* buffer, int32_t rows, int32_t width, bool signedAB) {
  if (!gLab.built) return;
  ForEachPlanarPixel(buffer, rows, width, [=](uint8_t& l, uint8_t& aByte, uint8_t& bByte) {
    const int32_t a = signedAB ? static_cast<int8_t>(aByte) : aByte - 128;
    const int32_t b = signedAB ? static_cast<int8_t>(bByte) : bByte - 128;
    const int32_t fY = FFromL8x256(int64_t{l} << 8);
    const FValues f = {fY + a * kOne / 500, fY, fY - b * kOne / 200};
    FToRgb8(f, &l, &aByte, &bByte);
  });
}

void ConvertLab16ToRgb8(const uint16_t* source, uint8_t* destination, int32_t count, int32_t sourceStep,
                        int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset) {
  if (!gLab.built) return;
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t* s = source + static_cast<ptrdiff_t>(i) * sourceStep;
    uint8_t* d = destination + static_cast<ptrdiff_t>(i) * destinationStep;
    // L x 655.35 is 2.55 x L* x 257; a and b in 254/65535 steps from -127.
    const int32_t fY = FFromL8x256(int64_t{s[0]} * 256 / 257);
    const int64_t a = int64_t{s[sourcePlaneOffset]} * 254 - 127 * 65535;
    const int64_t b = int64_t{s[2 * sourcePlaneOffset]} * 254 - 127 * 65535;
    const FValues f = {fY + static_cast<int32_t>(a * kOne / (65535 * 500)), fY,
                       fY - static_cast<int32_t>(b * kOne / (65535 * 200))};
    FToRgb8(f, d, d + destinationPlaneOffset, d + 2 * destinationPlaneOffset);
  }
}

void RgbToXyz(const double rgb[3], double xyz[3]) {
  double linear[3];
  for (int k = 0; k < 3; ++k) linear[k] = std::pow(Clamp01(rgb[k]), gLab.gamma);
  for (int r = 0; r < 3; ++r)
    xyz[r] = gLab.toXyz[r][0] * linear[0] + gLab.toXyz[r][1] * linear[1] + gLab.toXyz[r][2] * linear[2];
}

void XyzToLab(const double xyz[3], double lab[3]) {
  double f[3];
  for (int k = 0; k < 3; ++k) {
    const double t = xyz[k] / gLab.white[k];
    f[k] = t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0;
  }
  lab[0] = 116.0 * f[1] - 16.0;
  lab[1] = 500.0 * (f[0] - f[1]);
  lab[2] = 200.0 * (f[1] - f[2]);
}

void RgbToLab(const double rgb[3], double lab[3]) {
  double xyz[3];
  RgbToXyz(rgb, xyz);
  XyzToLab(xyz, lab);
}

void LabToXyz(const double lab[3], double xyz[3]) {
  const double fY = (lab[0] + 16.0) / 116.0;
  const double f[3] = {fY + lab[1] / 500.0, fY, fY - lab[2] / 200.0};
  for (int k = 0; k < 3; ++k) {
    const double t = f[k] > 0.206893 ? f[k] * f[k] * f[k] : (f[k] - 16.0 / 116.0) * 0.12842;
    xyz[k] = t * gLab.white[k];
  }
}

void XyzToRgb(const double xyz[3], double rgb[3]) {
  for (int r = 0; r < 3; ++r) {
    const double linear = gLab.toRgb[r][0] * xyz[0] + gLab.toRgb[r][1] * xyz[1] + gLab.toRgb[r][2] * xyz[2];
    rgb[r] = std::pow(Clamp01(linear), gLab.inverseGamma);
  }
}

void LabToRgb(const double lab[3], double rgb[3]) {
  double xyz[3];
  LabToXyz(lab, xyz);
  XyzToRgb(xyz, rgb);
}

void MultiplyRgb8Rows(uint8_t* rows, const uint8_t* factors, int32_t rowCount, int32_t width) {
  const size_t n = static_cast<size_t>(rowCount) * 3 * width;
  for (size_t i = 0; i < n; ++i) rows[i] = static_cast<uint8_t>((rows[i] * factors[i] + 127) >> 8);
}

void InvertGreyToRgb8(const uint8_t* grey, uint8_t* rgb, int32_t count, int32_t greyStep, int32_t rgbStep,
                      int32_t rgbPlaneOffset) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t v = static_cast<uint8_t>(255 - grey[static_cast<ptrdiff_t>(i) * greyStep]);
    uint8_t* d = rgb + static_cast<ptrdiff_t>(i) * rgbStep;
    d[0] = d[rgbPlaneOffset] = d[2 * rgbPlaneOffset] = v;
  }
}
