#include "sharpen/sharpen_kernels.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "records/frame_record.h"

namespace {

// Weight of the neighbour at (dx, dy) in the matrix of radius M, by its
// squared distance; the centre and the cells outside the disc weigh 0.
constexpr int32_t Weight(int dx, int dy, int M) {
  const int d2 = dx * dx + dy * dy;
  if (d2 == 0) return 0;
  if (d2 == 1) return 2;
  if (d2 == 2) return M == 1 ? 1 : 2;
  if (d2 <= 5) return M == 1 ? 0 : M == 2 ? 1 : 2;
  if (d2 <= 10) return M == 3 ? 1 : 0;
  return 0;
}

constexpr int32_t WeightSum(int M) {
  int32_t sum = 0;
  for (int dy = -M; dy <= M; ++dy)
    for (int dx = -M; dx <= M; ++dx) sum += Weight(dx, dy, M);
  return sum;
}
static_assert(WeightSum(1) == 12 && WeightSum(2) == 28 && WeightSum(3) == 56, "neighbourhood weights");

// Where the samples of a row lie: plane p of pixel x at p x planeStep + x x pixelStep.
struct RowLayout {
  int32_t planeStep;
  int32_t pixelStep;
};

// The per-row constants of the filter.
template <typename Sample>
struct Filter {
  static constexpr bool kWide = sizeof(Sample) == 2;
  static constexpr int64_t kTop = std::numeric_limits<Sample>::max();
  static constexpr double kLevel = kWide ? 655.36 : 2.56;
  static constexpr int64_t kThresholdScale = kWide ? 256 : 1;

  Filter(const SharpenSettings& s, int32_t n)
      : settings(s),
        N(n),
        threshold(s.threshold * kThresholdScale),
        limitLevel(static_cast<int64_t>((static_cast<int64_t>(s.negative ? s.limit : 100 - s.limit) * n) * kLevel)),
        zone(static_cast<int64_t>(n * (s.limit * 0.5) * kLevel)),
        darkAmount(static_cast<int64_t>(s.darkEdge) * s.amount / 100),
        lightAmount(static_cast<int64_t>(s.lightEdge) * s.amount / 100) {}

  // The difference D faded in above the threshold and towards black.
  int64_t Fade(int64_t d, int64_t b) const {
    if (d < 2 * threshold) d = (d - threshold) * 2;
    if (b < zone) {
      if (kWide) d = static_cast<int64_t>(static_cast<double>(b) * d / zone + 0.5);
      else d = d * b / zone;
    }
    return d;
  }

  // New samples of one pixel with centre level L and neighbourhood level S.
  template <int Planes>
  void Pixel(const int64_t (&c)[Planes], int64_t L, int64_t S, int64_t (&out)[Planes]) const {
    for (int p = 0; p < Planes; ++p) out[p] = c[p];
    const int64_t d = std::llabs(S - L) * 10 / N;
    if (d <= threshold) return;
    const int64_t b = settings.negative ? limitLevel - L : L - limitLevel;
    if (S == L) return;
    const bool darker = S > L;
    if (b > 0) {
      const int64_t delta = (Fade(d, b) * (darker ? darkAmount : lightAmount) + 50) / 100;
      for (int p = 0; p < Planes; ++p) out[p] = std::min(kTop, std::max<int64_t>(0, darker ? c[p] - delta : c[p] + delta));
    } else if (settings.softShadows) {
      const int64_t q = darker ? L * 256 / S : S * 256 / L;
      const int64_t f = 256 - ((256 - q) >> 1);
      for (int p = 0; p < Planes; ++p) out[p] = darker ? std::min(kTop, c[p] * 256 / f) : (c[p] * f) >> 8;
    }
  }

  const SharpenSettings& settings;
  int64_t N;
  int64_t threshold;
  int64_t limitLevel;
  int64_t zone;
  int64_t darkAmount;
  int64_t lightAmount;
};

template <typename Sample, int Planes, int M>
void SharpenColumns(const Sample* const* rows, Sample* out, RowLayout layout, int32_t columns,
                    const SharpenSettings& settings) {
  constexpr int32_t N = Planes * WeightSum(M);
  const Filter<Sample> filter(settings, N);
  for (int32_t x = M; x < columns - M; ++x) {
    int64_t c[Planes];
    int64_t centre = 0;
    for (int p = 0; p < Planes; ++p) {
      c[p] = rows[M][p * layout.planeStep + x * layout.pixelStep];
      centre += c[p];
    }
    int64_t L = Planes == 3 ? centre * N / 3 : centre * N;
    if (L == 0) L = 1;
    int64_t S = 0;
    for (int dy = -M; dy <= M; ++dy)
      for (int dx = -M; dx <= M; ++dx) {
        const int32_t w = Weight(dx, dy, M);
        if (w == 0) continue;
        const Sample* at = rows[M + dy] + (x + dx) * layout.pixelStep;
        int64_t level = 0;
        for (int p = 0; p < Planes; ++p) level += at[p * layout.planeStep];
        S += w * level;
      }
    if (S == 0) S = 1;
    int64_t result[Planes];
    filter.Pixel(c, L, S, result);
    for (int p = 0; p < Planes; ++p) out[p * layout.planeStep + x * layout.pixelStep] = static_cast<Sample>(result[p]);
  }
}

template <typename Sample, int Planes>
void SharpenRow(const Sample* const* rows, Sample* out, RowLayout layout, int32_t columns,
                const SharpenSettings& settings) {
  switch (settings.matrix) {
    case 1: SharpenColumns<Sample, Planes, 2>(rows, out, layout, columns, settings); break;
    case 2: SharpenColumns<Sample, Planes, 3>(rows, out, layout, columns, settings); break;
    default: SharpenColumns<Sample, Planes, 1>(rows, out, layout, columns, settings); break;
  }
}

}  // namespace

SharpenSettings SharpenSettingsOf(const FrameRecord& frame, bool negative) {
  return SharpenSettings{static_cast<int8_t>(frame.sharpen941),
                         frame.sharpen942,
                         frame.sharpen944,
                         frame.sharpen948 != 0,
                         frame.sharpen1488,
                         frame.sharpen1490,
                         std::min<int32_t>(frame.sharpenFlag, 2),
                         negative};
}

void SharpenRowColor8(const uint8_t* const* rows, uint8_t* out, int32_t columns, const SharpenSettings& settings) {
  SharpenRow<uint8_t, 3>(rows, out, RowLayout{columns, 1}, columns, settings);
}
void SharpenRowColor16(const uint16_t* const* rows, uint16_t* out, int32_t columns, const SharpenSettings& settings) {
  SharpenRow<uint16_t, 3>(rows, out, RowLayout{columns, 1}, columns, settings);
}
void SharpenRowGrey8(const uint8_t* const* rows, uint8_t* out, int32_t columns, const SharpenSettings& settings) {
  SharpenRow<uint8_t, 1>(rows, out, RowLayout{columns, 1}, columns, settings);
}
void SharpenRowGrey16(const uint16_t* const* rows, uint16_t* out, int32_t columns, const SharpenSettings& settings) {
  SharpenRow<uint16_t, 1>(rows, out, RowLayout{columns, 1}, columns, settings);
}

void SharpenPreviewRow(const uint8_t* source, uint8_t* destination, int32_t stride, int32_t width,
                       const SharpenSettings& settings) {
  const int32_t m = SharpenRadius(std::min(std::max(settings.matrix, 0), 2));
  const uint8_t* rows[7];
  for (int32_t k = -m; k <= m; ++k) rows[m + k] = source + k * stride;
  const int32_t edge = std::min(m, width);
  for (int32_t x = 0; x < width; ++x) {
    if (x >= edge && x < width - m) continue;
    std::copy_n(source + 4 * x, 3, destination + 4 * x);
  }
  SharpenRow<uint8_t, 3>(rows, destination, RowLayout{1, 4}, width, settings);
}
