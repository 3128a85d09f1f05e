// The unsharp mask of one pixel amid its neighbours, and the preview row.
#include <gtest/gtest.h>

#include <vector>

#include "sharpen/sharpen_kernels.h"

namespace {

SharpenSettings Defaults() { return SharpenSettings{10, 50, 100, false, 50, 50, 0, false}; }

// A 3 x 3 grey image: the centre amid eight equal neighbours; the new centre.
template <typename Sample>
int FilterCentre(int centre, int neighbour, const SharpenSettings& settings) {
  std::vector<Sample> rows[3];
  for (auto& row : rows) row.assign(3, static_cast<Sample>(neighbour));
  rows[1][1] = static_cast<Sample>(centre);
  const Sample* pointers[3] = {rows[0].data(), rows[1].data(), rows[2].data()};
  std::vector<Sample> out = rows[1];
  if constexpr (sizeof(Sample) == 1) SharpenRowGrey8(pointers, out.data(), 3, settings);
  else SharpenRowGrey16(pointers, out.data(), 3, settings);
  EXPECT_EQ(out[0], neighbour);
  EXPECT_EQ(out[2], neighbour);
  return out[1];
}

struct PixelCase {
  const char* name;
  int centre;
  int neighbour;
  int threshold;
  int limit;
  bool soft;
  bool negative;
  int want;
};

TEST(SharpenKernels, OnePixelByTheRules) {
  const PixelCase cases[] = {
      {"darker amid 120, faded towards black", 100, 120, 10, 100, false, false, 61},
      {"flat area", 100, 100, 0, 100, false, false, 100},
      {"difference at the threshold", 200, 201, 10, 100, false, false, 200},
      {"twice the threshold: full effect", 200, 202, 10, 100, false, false, 195},
      {"between: ramp from 0", 200, 202, 15, 100, false, false, 197},
      {"brighter than its surroundings", 200, 190, 10, 100, false, false, 225},
      {"beyond the limit, no soft shadows", 100, 120, 10, 50, false, false, 100},
      {"beyond the limit, soft shadows", 100, 120, 10, 50, true, false, 108},
      {"negative: limit counted from the other end", 100, 120, 10, 50, false, true, 78},
      {"clamped at black", 10, 250, 0, 100, false, false, 0},
  };
  for (const PixelCase& c : cases) {
    SharpenSettings s = Defaults();
    s.threshold = c.threshold;
    s.limit = c.limit;
    s.softShadows = c.soft;
    s.negative = c.negative;
    EXPECT_EQ(FilterCentre<uint8_t>(c.centre, c.neighbour, s), c.want) << c.name;
  }
}

TEST(SharpenKernels, SixteenBitFadeRoundsInDoubles) {
  EXPECT_EQ(FilterCentre<uint16_t>(100 * 257, 120 * 257, Defaults()), 15622);
}

// Colour, 7 x 7, soft shadows near white: (L x 256) / S leaves 32 bits.
TEST(SharpenKernels, SoftShadowsOfSixteenBitColourOnTheWidestMatrix) {
  constexpr int kWidth = 7;
  std::vector<uint16_t> rows[7];
  for (auto& row : rows) row.assign(3 * kWidth, 65535);
  for (int p = 0; p < 3; ++p) rows[3][p * kWidth + 3] = 60000;
  const uint16_t* pointers[7];
  for (int k = 0; k < 7; ++k) pointers[k] = rows[k].data();
  std::vector<uint16_t> out = rows[3];
  SharpenSettings s = Defaults();
  s.matrix = 2;
  s.limit = 0;
  s.softShadows = true;
  SharpenRowColor16(pointers, out.data(), kWidth, s);
  for (int p = 0; p < 3; ++p) EXPECT_EQ(out[p * kWidth + 3], 62693) << "plane " << p;
}

// The preview row works on 4-byte pixels like the colour kernel on planes and
// never writes the fourth byte.
TEST(SharpenKernels, PreviewRowMatchesTheColourKernel) {
  constexpr int kWidth = 11;
  constexpr int kRows = 5;
  SharpenSettings s = Defaults();
  s.matrix = 1;
  s.amount = 200;
  s.threshold = 2;
  std::vector<uint8_t> pixels(4 * kWidth * kRows);
  std::vector<std::vector<uint8_t>> planar(kRows, std::vector<uint8_t>(3 * kWidth));
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int p = 0; p < 3; ++p) {
        const uint8_t v = static_cast<uint8_t>((x * 37 + y * 91 + p * 53) % 256);
        pixels[4 * (y * kWidth + x) + p] = v;
        planar[y][p * kWidth + x] = v;
      }
  std::vector<uint8_t> destination(4 * kWidth, 0xAB);
  SharpenPreviewRow(pixels.data() + 2 * 4 * kWidth, destination.data(), 4 * kWidth, kWidth, s);

  const uint8_t* rows[5];
  for (int k = 0; k < 5; ++k) rows[k] = planar[k].data();
  std::vector<uint8_t> want = planar[2];
  SharpenRowColor8(rows, want.data(), kWidth, s);
  int changed = 0;
  for (int x = 0; x < kWidth; ++x) {
    for (int p = 0; p < 3; ++p) {
      EXPECT_EQ(destination[4 * x + p], want[p * kWidth + x]) << "pixel " << x << " plane " << p;
      changed += want[p * kWidth + x] != planar[2][p * kWidth + x];
    }
    EXPECT_EQ(destination[4 * x + 3], 0xAB) << "pixel " << x;
  }
  EXPECT_GT(changed, 0);
}

}  // namespace
