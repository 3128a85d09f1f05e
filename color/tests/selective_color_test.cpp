// The six-colour selective colour engine: tables, the per-pixel arithmetic in
// both depths and layouts, saturation of out-of-range matrices, and the life
// of the frame and film sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "color/row_corrections.h"
#include "color/selective_color.h"

namespace {

enum { kRed, kGreen, kBlue, kCyan, kMagenta, kYellow };

struct Matrix {
  int16_t cells[kSelectiveCells] = {};
  Matrix& Set(int source, int target, int16_t percent) {
    cells[source * kSelectiveColors + target] = percent;
    return *this;
  }
};

class SelectiveColorTest : public testing::Test {
 protected:
  void TearDown() override {
    for (SelectiveColorLutSet* set : {&set_, &gSelectiveFrameSet, &gSelectiveFilmSet})
      if (set->entries) DisposeMemHandle(set->entries);
    set_ = gSelectiveFrameSet = gSelectiveFilmSet = SelectiveColorLutSet{};
  }

  const SelectiveColorLut* Build(const Matrix& m) {
    EXPECT_EQ(BuildSelectiveColorLuts(m.cells, &set_, nullptr, nullptr, 0), 0);
    return SelectiveColorEntries(set_);
  }
  std::array<uint8_t, 3> Pixel8(const Matrix& m, std::array<uint8_t, 3> rgb) {
    const SelectiveColorLut* entries = Build(m);
    std::array<uint8_t, 3> out{};
    ApplySelectiveColor8(rgb.data(), out.data(), entries, set_.entryCount, 1, 1, 1, 0, 0, nullptr);
    return out;
  }
  std::array<uint16_t, 3> Pixel16(const Matrix& m, std::array<uint16_t, 3> rgb) {
    const SelectiveColorLut* entries = Build(m);
    std::array<uint16_t, 3> out{};
    ApplySelectiveColor16(rgb.data(), out.data(), entries, set_.entryCount, 1, 1, 1, 0, 0, nullptr);
    return out;
  }

  SelectiveColorLutSet set_ = {};
};

Matrix RandomMatrix(std::mt19937& random, int low, int high) {
  Matrix m;
  std::uniform_int_distribution<int> value(low, high), zero(0, 2);
  for (int16_t& cell : m.cells) cell = static_cast<int16_t>(zero(random) == 0 ? 0 : value(random));
  return m;
}

TEST_F(SelectiveColorTest, TablesRoundTowardZeroAfterAddingAHalf) {
  const SelectiveColorLut* entries = Build(Matrix().Set(kRed, kRed, -19).Set(kCyan, kYellow, 26));
  ASSERT_EQ(set_.entryCount, 2);
  const SelectiveColorLut& first = entries[0];
  EXPECT_EQ(first.source, 0u);
  EXPECT_EQ(first.target, 0u);
  EXPECT_FLOAT_EQ(first.gain, -0.19f);
  EXPECT_EQ(static_cast<int16_t>(first.table[5]), 0);
  EXPECT_EQ(static_cast<int16_t>(first.table[8]), -1);
  EXPECT_EQ(static_cast<int16_t>(first.table[255]), -47);  // -48.45 + 0.5
  EXPECT_EQ(entries[1].source, 3u);
  EXPECT_EQ(entries[1].target, 5u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(entries[1].table[i], static_cast<int>(i * 0.26 + 0.5)) << i;
}

TEST_F(SelectiveColorTest, EntriesFollowTheCellsRowByRowAndTheBlockIsKept) {
  const SelectiveColorLut* entries = Build(Matrix().Set(kYellow, kRed, 1).Set(kGreen, kBlue, 2).Set(kGreen, kRed, 3));
  const MemHandle block = set_.entries;
  ASSERT_EQ(set_.entryCount, 3);
  const uint32_t expected[3][2] = {{1, 0}, {1, 2}, {5, 0}};
  for (int e = 0; e < 3; ++e) {
    EXPECT_EQ(entries[e].source, expected[e][0]) << e;
    EXPECT_EQ(entries[e].target, expected[e][1]) << e;
  }
  EXPECT_EQ(MemHandleSize(block), 36 * sizeof(SelectiveColorLut));
  Build(Matrix());
  EXPECT_EQ(set_.entryCount, 0);
  EXPECT_EQ(set_.entries, block);
  EXPECT_EQ(set_.maskRegion, nullptr);
}

TEST_F(SelectiveColorTest, AZeroMatrixAndGreyLeavePixelsAlone) {
  std::mt19937 random(7);
  const Matrix zero;
  std::uniform_int_distribution<int> sample(0, 255);
  for (int i = 0; i < 200; ++i) {
    const std::array<uint8_t, 3> rgb = {static_cast<uint8_t>(sample(random)), static_cast<uint8_t>(sample(random)),
                                        static_cast<uint8_t>(sample(random))};
    EXPECT_EQ(Pixel8(zero, rgb), rgb);
  }
  for (int m = 0; m < 20; ++m) {
    const Matrix matrix = RandomMatrix(random, -200, 200);
    for (int level = 0; level < 256; level += 5) {
      const uint8_t v = static_cast<uint8_t>(level);
      EXPECT_EQ(Pixel8(matrix, {v, v, v}), (std::array<uint8_t, 3>{v, v, v}));
      const uint16_t w = static_cast<uint16_t>(level * 257);
      EXPECT_EQ(Pixel16(matrix, {w, w, w}), (std::array<uint16_t, 3>{w, w, w}));
    }
  }
}

TEST_F(SelectiveColorTest, PureRedWithTheRedCell) {
  struct Case {
    int16_t percent;
    std::array<uint8_t, 3> rgb;
  } cases[] = {{15, {255, 0, 0}}, {-15, {255, 37, 37}}};
  for (const Case& c : cases) EXPECT_EQ(Pixel8(Matrix().Set(kRed, kRed, c.percent), {255, 0, 0}), c.rgb) << c.percent;
}

// Amounts are measured from the unchanged inks: the first entry's change
// must not move the second entry's amount.
TEST_F(SelectiveColorTest, EveryEntryMeasuresTheUnchangedColour) {
  // (200, 50, 50): C 55, M 205, Y 205: red amount 150, other sources none.
  const Matrix m = Matrix().Set(kRed, kCyan, 100).Set(kRed, kYellow, -10);
  // C' = 55 + 150 = 205; Y' = 205 - 14 = 191 (measured again, the red amount would be 0).
  EXPECT_EQ(Pixel8(m, {200, 50, 50}), (std::array<uint8_t, 3>{50, 50, 64}));
  // Target map: green adds to C and Y, blue to C and M.
  EXPECT_EQ(Pixel8(Matrix().Set(kRed, kGreen, 20), {200, 50, 50}), (std::array<uint8_t, 3>{170, 50, 20}));
  EXPECT_EQ(Pixel8(Matrix().Set(kRed, kBlue, 20), {200, 50, 50}), (std::array<uint8_t, 3>{170, 20, 50}));
}

// One clamp after all entries: an intermediate sum past 255 comes back.
TEST_F(SelectiveColorTest, TheClampComesAfterAllEntries) {
  // Pure red, red amount 255. red->red +100: M' = Y' = 510; red->magenta -100: M' = 510 - 254 = 256.
  EXPECT_EQ(Pixel8(Matrix().Set(kRed, kRed, 100).Set(kRed, kMagenta, -100), {255, 0, 0}),
            (std::array<uint8_t, 3>{255, 0, 0}));
  // red->red +50: M' = 383; red->magenta -100: M' = 129 (an early clamp would leave 1).
  EXPECT_EQ(Pixel8(Matrix().Set(kRed, kRed, 50).Set(kRed, kMagenta, -100), {255, 0, 0}),
            (std::array<uint8_t, 3>{255, 126, 0}));
}

TEST_F(SelectiveColorTest, SixteenBitsFollowEightBitsTimes257) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> sample(0, 255);
  for (int m = 0; m < 50; ++m) {
    const Matrix matrix = RandomMatrix(random, -100, 100);
    for (int i = 0; i < 50; ++i) {
      const std::array<uint8_t, 3> rgb = {static_cast<uint8_t>(sample(random)), static_cast<uint8_t>(sample(random)),
                                          static_cast<uint8_t>(sample(random))};
      const std::array<uint8_t, 3> out8 = Pixel8(matrix, rgb);
      const std::array<uint16_t, 3> out16 =
          Pixel16(matrix, {static_cast<uint16_t>(rgb[0] * 257), static_cast<uint16_t>(rgb[1] * 257),
                           static_cast<uint16_t>(rgb[2] * 257)});
      // At most six entries reach one ink, each within one 8-bit step.
      for (int c = 0; c < 3; ++c) EXPECT_LE(std::abs(out16[c] - out8[c] * 257), 6 * 258) << m << " " << i;
    }
  }
}

TEST_F(SelectiveColorTest, DibRowsOfThreeAndFourBytesAreCorrectedInPlace) {
  std::mt19937 random(3);
  const Matrix matrix = RandomMatrix(random, -60, 60);
  const SelectiveColorLut* entries = Build(matrix);
  std::uniform_int_distribution<int> sample(0, 255);
  constexpr int kPixels = 40;
  for (uint16_t step : {3, 4}) {
    std::vector<uint8_t> row(kPixels * step), planes(3 * kPixels);
    for (uint8_t& b : row) b = static_cast<uint8_t>(sample(random));
    for (int k = 0; k < kPixels; ++k)
      for (int c = 0; c < 3; ++c) planes[c * kPixels + k] = row[k * step + 2 - c];
    const std::vector<uint8_t> before = row;
    ApplySelectiveColor8(&row[2], &row[2], entries, set_.entryCount, kPixels, step, -1, 0, 0, nullptr);
    ApplySelectiveColor8(planes.data(), planes.data(), entries, set_.entryCount, kPixels, 1, kPixels, 0, 0, nullptr);
    for (int k = 0; k < kPixels; ++k) {
      for (int c = 0; c < 3; ++c) EXPECT_EQ(row[k * step + 2 - c], planes[c * kPixels + k]) << step << " " << k;
      if (step == 4) {
        EXPECT_EQ(row[k * 4 + 3], before[k * 4 + 3]);
      }
    }
  }
}

// Far beyond the usual range the tables and the 8-bit sums stop at the i16
// limits; wrapping would turn the correction round.
TEST_F(SelectiveColorTest, HugeCellsSaturateInsteadOfWrapping) {
  const SelectiveColorLut* entries = Build(Matrix().Set(kRed, kRed, -20000));
  EXPECT_EQ(static_cast<int16_t>(entries[0].table[255]), -32768);
  EXPECT_EQ(static_cast<int16_t>(entries[0].table[1]), -199);
  struct Case {
    Matrix matrix;
    std::array<uint8_t, 3> rgb;
  } cases[] = {
      {Matrix().Set(kRed, kRed, -20000), {255, 255, 255}},  // wrapped: +14536, no change
      {Matrix().Set(kRed, kRed, 20000).Set(kRed, kMagenta, 20000), {255, 0, 0}},  // wrapped sum: green 2
  };
  for (const Case& c : cases) EXPECT_EQ(Pixel8(c.matrix, {255, 0, 0}), c.rgb);
  // The 16-bit path has room in 32 bits.
  EXPECT_EQ(Pixel16(Matrix().Set(kRed, kRed, -20000), {65535, 0, 0}), (std::array<uint16_t, 3>{65535, 65535, 65535}));
}

// The band producer's planar rows: wider than the engine's 16-bit plane
// offset reaches, they are corrected piece by piece, every pixel as alone.
TEST_F(SelectiveColorTest, WideBandRowsAreCorrectedPieceByPiece) {
  const Matrix matrix = Matrix().Set(kRed, kCyan, 40).Set(kBlue, kYellow, -30).Set(kGreen, kGreen, 20);
  ASSERT_EQ(BuildSelectiveColorLuts(matrix.cells, &gSelectiveFrameSet, nullptr, nullptr, 0), 0);
  for (int32_t width : {500, 40000, 70000}) {
    std::vector<uint8_t> row8(3 * static_cast<size_t>(width));
    std::vector<uint16_t> row16(row8.size());
    for (size_t i = 0; i < row8.size(); ++i) {
      row8[i] = static_cast<uint8_t>(i * 7919 % 251);
      row16[i] = static_cast<uint16_t>(row8[i] * 257);
    }
    const std::vector<uint8_t> before8 = row8;
    const std::vector<uint16_t> before16 = row16;
    SelectiveColorLine8(row8.data(), width, width, 0, 0, true);
    SelectiveColorLine16(row16.data(), width, width, 0, 0, true);
    for (int32_t k : {0, 1, width / 2, width - 1}) {
      const std::array<uint8_t, 3> rgb = {before8[k], before8[width + k], before8[2 * width + k]};
      const std::array<uint8_t, 3> alone = Pixel8(matrix, rgb);
      const std::array<uint16_t, 3> alone16 = Pixel16(matrix, {before16[k], before16[width + k], before16[2 * width + k]});
      for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(row8[c * static_cast<size_t>(width) + k], alone[c]) << width << " " << k;
        EXPECT_EQ(row16[c * static_cast<size_t>(width) + k], alone16[c]) << width << " " << k;
      }
    }
  }
}

TEST_F(SelectiveColorTest, ResetBuildsTheFilmSetAndEmptiesTheFrameSet) {
  ASSERT_EQ(BuildSelectiveColorLuts(Matrix().Set(kRed, kRed, 5).cells, &gSelectiveFrameSet, nullptr, nullptr, 0), 0);
  gSixColourPage = SixColourPageState{80, kYellow, {0, 1, 1, 0, 0, 1}, 1, nullptr};
  ResetSelectiveColor();
  EXPECT_EQ(gSelectiveFrameSet.entryCount, 0);
  EXPECT_EQ(gSelectiveFrameSet.entries, nullptr);
  EXPECT_EQ(gSelectiveFrameSet.maskRegion, nullptr);
  EXPECT_EQ(gSixColourPage.wheelScale, 50);
  EXPECT_EQ(gSixColourPage.currentColour, kRed);
  EXPECT_EQ(std::vector<uint8_t>(gSixColourPage.selected, gSixColourPage.selected + 6),
            (std::vector<uint8_t>{1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(gSixColourPage.allTargets, 0);

  const int16_t expected[36] = {-19, 0, 0, 26, 0, 0, 0, -11, 0, 0, 22, 0, 0, 0, -11, 0, 0, 22,
                                11,  0, 0, -22, 0, 0, 0, 11, 0, 0, -22, 0, 0, 0, 11, 0, 0, -22};
  EXPECT_TRUE(std::equal(expected, expected + 36, kDefaultSelectiveMatrix));
  EXPECT_EQ(gSelectiveFilmSet.entries, nullptr) << "built at its first use";
  ASSERT_EQ(FilmSelectiveSet().entryCount, 12);
  const SelectiveColorLut* film = SelectiveColorEntries(gSelectiveFilmSet);
  EXPECT_EQ(film[0].target, 0u);
  EXPECT_EQ(film[1].target, 3u);
  EXPECT_EQ(film[11].source, 5u);
  EXPECT_EQ(gSelectiveFilmSet.maskRegion, nullptr);

  FreeSelectiveColorLuts();
  EXPECT_EQ(gSelectiveFilmSet.entries, nullptr);
  EXPECT_EQ(gSelectiveFrameSet.entries, nullptr);
  EXPECT_EQ(gSelectiveFilmSet.entryCount, 0);
  EXPECT_EQ(FilmSelectiveSet().entries, nullptr) << "freed until the next reset";
}

}  // namespace
