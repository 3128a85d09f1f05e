#include "sharpen/scale_kernels.h"

#include <algorithm>
#include <limits>

namespace {

template <typename Sample>
void HalveRows(const Sample* row0, const Sample* row1, Sample* out, uint32_t sourceWidth, uint32_t halvedWidth,
               int32_t planes) {
  for (int32_t p = 0; p < planes; ++p) {
    const Sample* a = row0 + static_cast<size_t>(p) * sourceWidth;
    const Sample* b = row1 + static_cast<size_t>(p) * sourceWidth;
    Sample* o = out + static_cast<size_t>(p) * halvedWidth;
    for (uint32_t x = 0; x < halvedWidth; ++x) {
      const uint32_t sum = uint32_t{a[2 * x]} + a[2 * x + 1] + b[2 * x] + b[2 * x + 1];
      o[x] = static_cast<Sample>(sum >> 2);
    }
  }
}

template <typename Sample>
void BlurRowPair(Sample* row, const Sample* next, uint32_t width, int32_t planes) {
  if (width < 2) return;
  for (int32_t p = 0; p < planes; ++p) {
    Sample* r = row + static_cast<size_t>(p) * width;
    const Sample* n = next + static_cast<size_t>(p) * width;
    for (uint32_t x = 0; x + 1 < width; ++x) r[x] = static_cast<Sample>((uint32_t{r[x]} + r[x + 1] + n[x] + n[x + 1]) >> 2);
    r[width - 1] = r[width - 2];
  }
}

double Clamp01(double f) { return std::min(1.0, std::max(0.0, f)); }

// The column pair or quad of output column x and its fraction.
struct Column {
  uint32_t x0;
  double t;
};

Column ColumnAt(uint32_t x, double step) {
  const double xs = x * step;
  const uint32_t x0 = static_cast<uint32_t>(xs);
  return Column{x0, xs - x0};
}

template <typename Sample>
void ResampleLinear(const Sample* row0, const Sample* row1, Sample* out, uint32_t halvedWidth, uint32_t outputWidth,
                    double fy, int32_t planes) {
  fy = Clamp01(fy);
  const double step = static_cast<double>(halvedWidth) / outputWidth;
  for (int32_t p = 0; p < planes; ++p) {
    const Sample* a = row0 + static_cast<size_t>(p) * halvedWidth;
    const Sample* b = row1 + static_cast<size_t>(p) * halvedWidth;
    Sample* o = out + static_cast<size_t>(p) * outputWidth;
    for (uint32_t x = 0; x < outputWidth; ++x) {
      const Column c = ColumnAt(x, step);
      const uint32_t x1 = std::min(c.x0 + 1, halvedWidth - 1);
      const double top = a[x1] * c.t + a[c.x0] * (1.0 - c.t);
      const double bottom = b[x1] * c.t + b[c.x0] * (1.0 - c.t);
      o[x] = static_cast<Sample>(static_cast<int32_t>(top * (1.0 - fy) + bottom * fy));
    }
  }
}

// Catmull-Rom weights of taps -1, 0, 1, 2 for the fraction u.
void CubicWeights(double u, double w[4]) {
  const double u2 = u * u;
  const double u3 = u2 * u;
  w[0] = -0.5 * u3 + u2 - 0.5 * u;
  w[1] = 1.5 * u3 - 2.5 * u2 + 1.0;
  w[2] = -1.5 * u3 + 2.0 * u2 + 0.5 * u;
  w[3] = 0.5 * u3 - 0.5 * u2;
}

template <typename Sample>
void ResampleCubic(const Sample* const rows[4], Sample* out, uint32_t halvedWidth, uint32_t outputWidth, double fy,
                   int32_t planes) {
  constexpr double kTop = std::numeric_limits<Sample>::max();
  double wy[4];
  CubicWeights(Clamp01(fy), wy);
  const double step = static_cast<double>(halvedWidth) / outputWidth;
  const uint32_t last = halvedWidth - 1;
  for (int32_t p = 0; p < planes; ++p) {
    const size_t plane = static_cast<size_t>(p) * halvedWidth;
    Sample* o = out + static_cast<size_t>(p) * outputWidth;
    for (uint32_t x = 0; x < outputWidth; ++x) {
      const Column c = ColumnAt(x, step);
      const uint32_t cols[4] = {c.x0 > 0 ? std::min(c.x0 - 1, last) : 0, std::min(c.x0, last),
                                std::min(c.x0 + 1, last), std::min(c.x0 + 2, last)};
      double wx[4];
      CubicWeights(c.t, wx);
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) {
        const Sample* r = rows[k] + plane;
        const double value = r[cols[0]] * wx[0] + r[cols[1]] * wx[1] + r[cols[2]] * wx[2] + r[cols[3]] * wx[3];
        sum += value * wy[k];
      }
      sum = std::min(kTop, std::max(0.0, sum));
      o[x] = static_cast<Sample>(static_cast<int32_t>(sum + 0.5));
    }
  }
}

}  // namespace

void HalveRows8Rgb(const uint8_t* row0, const uint8_t* row1, uint8_t* out, uint32_t sourceWidth, uint32_t halvedWidth) {
  HalveRows(row0, row1, out, sourceWidth, halvedWidth, 3);
}
void HalveRows8Grey(const uint8_t* row0, const uint8_t* row1, uint8_t* out, uint32_t sourceWidth,
                    uint32_t halvedWidth) {
  HalveRows(row0, row1, out, sourceWidth, halvedWidth, 1);
}
void HalveRows16Rgb(const uint16_t* row0, const uint16_t* row1, uint16_t* out, uint32_t sourceWidth,
                    uint32_t halvedWidth) {
  HalveRows(row0, row1, out, sourceWidth, halvedWidth, 3);
}
void HalveRows16Grey(const uint16_t* row0, const uint16_t* row1, uint16_t* out, uint32_t sourceWidth,
                     uint32_t halvedWidth) {
  HalveRows(row0, row1, out, sourceWidth, halvedWidth, 1);
}

void BlurRowPair8(uint8_t* row, const uint8_t* next, uint32_t width, int32_t planes) {
  BlurRowPair(row, next, width, planes);
}
void BlurRowPair16(uint16_t* row, const uint16_t* next, uint32_t width, int32_t planes) {
  BlurRowPair(row, next, width, planes);
}

void ResampleLineLinear8(const uint8_t* row0, const uint8_t* row1, uint8_t* out, uint32_t halvedWidth,
                         uint32_t outputWidth, double fy, int32_t planes) {
  ResampleLinear(row0, row1, out, halvedWidth, outputWidth, fy, planes);
}
void ResampleLineLinear16(const uint16_t* row0, const uint16_t* row1, uint16_t* out, uint32_t halvedWidth,
                          uint32_t outputWidth, double fy, int32_t planes) {
  ResampleLinear(row0, row1, out, halvedWidth, outputWidth, fy, planes);
}

void ResampleLineCubic8(const uint8_t* const rows[4], uint8_t* out, uint32_t halvedWidth, uint32_t outputWidth,
                        double fy, int32_t planes) {
  ResampleCubic(rows, out, halvedWidth, outputWidth, fy, planes);
}
void ResampleLineCubic16(const uint16_t* const rows[4], uint16_t* out, uint32_t halvedWidth, uint32_t outputWidth,
                         double fy, int32_t planes) {
  ResampleCubic(rows, out, halvedWidth, outputWidth, fy, planes);
}
