// The twelve-colour matrix tables: sector weights, folding, the 8-bit and
// 16-bit corrections and the matrix baked into a cube.
#include <gtest/gtest.h>

#include <vector>

#include "color/color_cubes.h"
#include "color/color_matrix.h"

namespace {

enum { kRed, kGreen, kBlue, kCyan, kMagenta, kYellow };

struct MatrixSet {
  ColorMatrixLutSet set{};
  ~MatrixSet() { DisposeMemHandle(set.entries); }
  const ColorMatrixLut* entries() const { return reinterpret_cast<const ColorMatrixLut*>(set.entries->data); }
  const ColorMatrixLut& entry(int sector, int column) const { return entries()[sector * kMatrixColors + column]; }
  void Build(const int16_t* matrix) { ASSERT_EQ(BuildColorMatrixLuts(matrix, &set, nullptr, nullptr, 0), 0); }
  std::vector<uint8_t> Apply8(uint8_t r, uint8_t g, uint8_t b) const {
    std::vector<uint8_t> px = {r, g, b};
    ApplyColorMatrix8(px.data(), px.data(), entries(), set.entryCount, 1, 3, 1, 0, 0, nullptr);
    return px;
  }
  std::vector<uint16_t> Apply16(uint16_t r, uint16_t g, uint16_t b) const {
    std::vector<uint16_t> px = {r, g, b};
    ApplyColorMatrix16(px.data(), px.data(), entries(), set.entryCount, 1, 3, 1, 0, 0, nullptr);
    return px;
  }
};

int16_t* Cell(int16_t* matrix, int sector, int column) { return &matrix[sector * kMatrixColors + column]; }

}  // namespace

TEST(ColorMatrix, SectorWeights) {
  struct Case {
    int32_t c, m, y;
    int32_t w[12];
  };
  const Case cases[] = {
      // Pure red: only the red sector.
      {0, 255, 255, {255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // Yellow-ish orange: half magenta, full yellow.
      {0, 128, 255, {1, 254, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // Pure blue (cyan and magenta ink).
      {255, 255, 0, {0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0}},
      // Neutral: nothing positive.
      {90, 90, 90, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // Cyan-blue between cyan and blue.
      {200, 100, 0, {0, 0, 0, 0, 0, 0, 0, 200, 0, 0, 0, 0}},
  };
  for (const Case& k : cases)
    for (int s = 0; s < 12; ++s)
      EXPECT_EQ(SectorWeight(s, k.c, k.m, k.y), k.w[s]) << k.c << "," << k.m << "," << k.y << " sector " << s;
}

TEST(ColorMatrix, ZeroMatrixIsInactiveButBuilt) {
  int16_t matrix[kMatrixCells] = {};
  MatrixSet m;
  m.Build(matrix);
  EXPECT_EQ(m.set.enabled, 0);
  EXPECT_EQ(m.set.entryCount, 72);
  EXPECT_EQ(m.Apply8(255, 0, 0), (std::vector<uint8_t>{255, 0, 0}));
  EXPECT_EQ(m.Apply8(12, 200, 99), (std::vector<uint8_t>{12, 200, 99}));
}

TEST(ColorMatrix, FoldingLooksAtTheRowAsGiven) {
  int16_t matrix[kMatrixCells] = {};
  // Row 0: red folds into magenta and yellow; green stays although the
  // folded row now has yellow.
  *Cell(matrix, 0, kRed) = 5;
  *Cell(matrix, 0, kGreen) = 4;
  *Cell(matrix, 0, kMagenta) = 2;
  // Row 1 uses red only and keeps it; row 2 folds blue into cyan and magenta.
  *Cell(matrix, 1, kRed) = 20;
  *Cell(matrix, 2, kBlue) = -10;
  *Cell(matrix, 2, kCyan) = 3;
  MatrixSet m;
  m.Build(matrix);
  EXPECT_EQ(m.set.enabled, 1);
  const float want[3][6] = {{0, 0.04f, 0, 0, 0.07f, 0.05f}, {0.2f, 0, 0, 0, 0, 0}, {0, 0, 0, -0.07f, -0.1f, 0}};
  for (int s = 0; s < 3; ++s)
    for (int j = 0; j < 6; ++j) {
      EXPECT_FLOAT_EQ(m.entry(s, j).gain, want[s][j]) << s << "," << j;
      EXPECT_EQ(m.entry(s, j).active, want[s][j] != 0) << s << "," << j;
    }
  // Tables: truncation toward zero of i x gain + 0.5, negatives in two's complement.
  EXPECT_EQ(m.entry(2, kMagenta).table[5], 0);        // -0.5 + 0.5
  EXPECT_EQ(m.entry(2, kMagenta).table[25], 0xFFFE);  // -2.5 + 0.5
  EXPECT_EQ(m.entry(1, kRed).table[240], 48);
  // The set's own matrix is left alone.
  EXPECT_EQ(m.set.matrix[0], 0);
}

TEST(ColorMatrix, PureRedThroughItsThreeSectors) {
  int16_t matrix[kMatrixCells] = {};
  *Cell(matrix, 0, kCyan) = 10;     // red sector: w 255, table index 240 -> 24
  *Cell(matrix, 11, kYellow) = 50;  // neighbours weigh 0 for pure red
  *Cell(matrix, 1, kMagenta) = 50;
  *Cell(matrix, 4, kCyan) = 100;    // a far sector never touches red
  MatrixSet m;
  m.Build(matrix);
  EXPECT_EQ(m.Apply8(255, 0, 0), (std::vector<uint8_t>{231, 0, 0}));
  // 16-bit: trunc((65535 - 3840) x 0.1 + 0.5).
  EXPECT_EQ(m.Apply16(65535, 0, 0), (std::vector<uint16_t>{65535 - 6170, 0, 0}));
  // Below the thresholds nothing changes: a faint red.
  EXPECT_EQ(m.Apply8(255, 240, 240), (std::vector<uint8_t>{255, 240, 240}));
  EXPECT_EQ(m.Apply16(65535, 61695, 61695), (std::vector<uint16_t>{65535, 61695, 61695}));
  // Results clamp to the sample range.
  *Cell(matrix, 0, kCyan) = 30000;
  m.Build(matrix);
  EXPECT_EQ(m.Apply8(255, 0, 0)[0], 0);
  EXPECT_EQ(m.Apply16(65535, 0, 0)[0], 0);
}

TEST(ColorMatrix, NeutralPixelsPassAndEntryCountGuards) {
  int16_t matrix[kMatrixCells];
  for (int i = 0; i < kMatrixCells; ++i) matrix[i] = static_cast<int16_t>((i * 37) % 120 - 60);
  MatrixSet m;
  m.Build(matrix);
  for (int v = 0; v < 256; v += 15) EXPECT_EQ(m.Apply8(v, v, v), (std::vector<uint8_t>(3, v)));
  EXPECT_EQ(m.Apply16(1234, 1234, 1234), (std::vector<uint16_t>(3, 1234)));
  std::vector<uint8_t> px = {255, 0, 0};
  ApplyColorMatrix8(px.data(), px.data(), m.entries(), 71, 1, 3, 1, 0, 0, nullptr);
  EXPECT_EQ(px, (std::vector<uint8_t>{255, 0, 0}));
}

// The 16-bit correction of v x 257 lands near 257 times the 8-bit one.
TEST(ColorMatrix, EightAndSixteenBitsAgree) {
  int16_t matrix[kMatrixCells];
  for (int i = 0; i < kMatrixCells; ++i) matrix[i] = static_cast<int16_t>((i * 53) % 60 - 30);
  MatrixSet m;
  m.Build(matrix);
  for (int k = 0; k < 3000; ++k) {
    const uint8_t r = (k * 37) % 256, g = (k * 101) % 256, b = (k * 59 + 3) % 256;
    const std::vector<uint8_t> p8 = m.Apply8(r, g, b);
    const std::vector<uint16_t> p16 = m.Apply16(r * 257, g * 257, b * 257);
    for (int c = 0; c < 3; ++c) ASSERT_NEAR(p16[c] / 257.0, p8[c], 5.0) << k << " channel " << c;
  }
}

TEST(ColorMatrix, BakingEqualsTheCorrectionAtEveryNode) {
  int16_t matrix[kMatrixCells];
  for (int i = 0; i < kMatrixCells; ++i) matrix[i] = static_cast<int16_t>((i * 29) % 80 - 40);
  MatrixSet m;
  m.Build(matrix);
  MemHandle cube = NewCube8();
  BakeColorMatrixIntoCube(cube, &m.set);
  std::vector<uint8_t> identity(kCube8Bytes);
  InitIdentityCube8(identity.data());
  int changed = 0;
  for (int32_t n = 0; n < kCubeEntries; ++n) {
    const std::vector<uint8_t> want = m.Apply8(identity[3 * n], identity[3 * n + 1], identity[3 * n + 2]);
    for (int c = 0; c < 3; ++c) ASSERT_EQ(cube->data[3 * n + c], want[c]) << n;
    changed += want[0] != identity[3 * n];
  }
  EXPECT_GT(changed, 1000);

  // No entries or no cube: nothing happens.
  ColorMatrixLutSet empty{};
  cube->data[0] = 77;
  BakeColorMatrixIntoCube(cube, &empty);
  BakeColorMatrixIntoCube(nullptr, &m.set);
  EXPECT_EQ(cube->data[0], 77);

  // The calibration set's cube is the calibration profile's cube (the
  // identity of doubles while none is loaded), not its matrix.
  int16_t zero[kMatrixCells] = {};
  ASSERT_EQ(BuildColorMatrixLuts(zero, &gCalibrationSet, nullptr, nullptr, 0), 0);
  BakeColorMatrixIntoCube(cube, &gCalibrationSet);
  const int32_t last = (31 * 33 + 32) * 33 + 1;
  EXPECT_EQ(cube->data[3 * last], 247);  // 2048 x 31 / 65535 x 255, rounded
  EXPECT_EQ(cube->data[3 * last + 1], 255);
  EXPECT_EQ(cube->data[3 * last + 2], 8);
  DisposeMemHandle(gCalibrationSet.entries);
  gCalibrationSet.entries = nullptr;
  DisposeMemHandle(cube);
}
