// The separation tables: helper tables, the ".ast" reader and the kernels
// over a table whose nodes are affine in (hue, value, saturation), so every
// result follows from the colour's position in the grid.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "color/separation_tables.h"
#include "foundation/file_io.h"

namespace {

// Cyan 5 x hue node, magenta 8 x value row, yellow 16 x saturation node, black their sum.
uint8_t AffineNode(uint32_t h, uint32_t v, uint32_t s, uint32_t c) {
  switch (c) {
    case 0: return static_cast<uint8_t>(5 * h);
    case 1: return static_cast<uint8_t>(8 * v);
    case 2: return static_cast<uint8_t>(16 * s);
    default: return static_cast<uint8_t>(h + v + s);
  }
}

std::vector<uint8_t> AffineTable() {
  std::vector<uint8_t> table(kSeparationTableBytes);
  for (uint32_t h = 0; h < 49; ++h)
    for (uint32_t v = 0; v < 32; ++v)
      for (uint32_t s = 0; s < 16; ++s)
        for (uint32_t c = 0; c < 4; ++c) table[h * 2048 + v * 64 + s * 4 + c] = AffineNode(h, v, s, c);
  return table;
}

// An ".ast" file: a header of ignored bytes, then the table complemented.
std::string WriteSeparationFile(const std::string& name, const std::vector<uint8_t>& table, size_t keep) {
  const std::string path = ::testing::TempDir() + name;
  std::vector<uint8_t> bytes(kSeparationFileHeaderBytes, 0x5A);
  for (uint8_t b : table) bytes.push_back(static_cast<uint8_t>(255 - b));
  bytes.resize(keep);
  FileHandle file = CreateFileForWriting(path.c_str());
  EXPECT_TRUE(file);
  if (!bytes.empty()) EXPECT_TRUE(WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size())));
  CloseFile(file);
  return path;
}

const size_t kWholeFile = kSeparationFileHeaderBytes + kSeparationTableBytes;

class SeparationTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(AllocSeparationTables(), 0);
    ASSERT_EQ(LoadSeparationTables(WriteSeparationFile("affine.ast", AffineTable(), kWholeFile).c_str()), 0);
  }
  void TearDown() override { FreeSeparationTables(); }

  std::vector<uint8_t> Separate(uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> cmyk(4, 0xEE);
    SeparateLinePlanar8(&r, &g, &b, &cmyk[0], &cmyk[1], &cmyk[2], &cmyk[3], 1);
    return cmyk;
  }
};

TEST_F(SeparationTablesTest, HelperTablesFollowTheirFormulas) {
  const SeparationTables& t = gSeparationTables;
  EXPECT_EQ(t.differences[0], -256.0f);
  EXPECT_EQ(t.differences[261], 5.0f);
  EXPECT_EQ(t.reciprocals[0], 0.0f);
  EXPECT_EQ(t.reciprocals[4], 0.25f);
  EXPECT_EQ(t.hueSteps[383], (7u * 289) << 20 | 47u * 2048);
  EXPECT_EQ(t.saturationSteps[255], 0u << 20 | 15u * 4);
  EXPECT_EQ(t.saturationSteps[18], 1u << 20 | 1u * 4);
  // Value nodes 0, 8, 16, 24, 32, 41, ...: 32..40 is a segment of 9; 255 is the last node.
  EXPECT_EQ(t.values[7], (7u * 17) << 20 | 0u * 64);
  EXPECT_EQ(t.values[32], (8u * 17) << 20 | 4u * 64);
  EXPECT_EQ(t.values[40], (16u * 17) << 20 | 4u * 64);
  EXPECT_EQ(t.values[41], (0u * 17) << 20 | 5u * 64);
  EXPECT_EQ(t.values[255], 0u << 20 | 31u * 64);
  for (uint32_t set = 0; set < kSeparationWeightSets; ++set) {
    uint64_t sum = 0;
    for (uint32_t i = 0; i < 8; ++i) sum += t.weights[set * 8 + i];
    ASSERT_EQ(sum, 65536u) << "set " << set;
    ASSERT_LE(t.weights[set * 8], 65536u) << "set " << set;
  }
  // a = 3, q = 10 (f = 2 of a segment of 9), t = 5: w7 = 256 x floor(256 x 3 x 2 x 5 / (136 x 9)).
  EXPECT_EQ(t.weights[(3 * 289 + 10 * 17 + 5) * 8 + 7], 256u * (256u * 30 / 1224));
}

TEST_F(SeparationTablesTest, LoadReadsTheComplementedTableBehindTheHeader) {
  const std::vector<uint8_t> table = AffineTable();
  EXPECT_EQ(std::vector<uint8_t>(gSeparationTables.table, gSeparationTables.table + kSeparationTableBytes), table);
  EXPECT_TRUE(AreSeparationTablesReady());
  EXPECT_EQ(LoadSeparationTables(WriteSeparationFile("short.ast", table, kWholeFile - 1).c_str()), -999);
  EXPECT_EQ(LoadSeparationTables(WriteSeparationFile("header.ast", table, kSeparationFileHeaderBytes).c_str()), -999);
  EXPECT_EQ(LoadSeparationTables((::testing::TempDir() + "missing.ast").c_str()), -999);
  // Bytes after the table are not read.
  std::vector<uint8_t> longer = table;
  longer.resize(kSeparationTableBytes + 10, 0);
  EXPECT_EQ(LoadSeparationTables(WriteSeparationFile("long.ast", longer, kWholeFile + 10).c_str()), 0);
}

TEST_F(SeparationTablesTest, KnownColoursLandOnTheirNodes) {
  struct Case {
    const char* name;
    uint8_t r, g, b;
    std::vector<uint8_t> cmyk;
  } cases[] = {
      // Hue 0, saturation 0: value row 0.
      {"black", 0, 0, 0, {0, 0, 0, 0}},
      // Grey 41 is value node 5 exactly, grey 36 four ninths of the way from node 4 to 5.
      {"grey on a node", 41, 41, 41, {0, 40, 0, 5}},
      {"grey between nodes", 36, 36, 36, {0, 35, 0, 4}},
      {"white", 255, 255, 255, {0, 248, 0, 31}},
      // Sextant 0, saturation 0.99609375: step 255 = node 15, value 255 = row 31.
      {"pure red", 255, 0, 0, {0, 248, 240, 46}},
      // Hue 2 = node 16, hue 4 = node 32.
      {"pure green", 0, 255, 0, {80, 248, 240, 62}},
      {"pure blue", 0, 0, 255, {160, 248, 240, 78}},
      // Hue just below 6: step 383 = node 47 and seven eighths of the last plane.
      {"hue step 383", 255, 0, 1, {239, 248, 240, 93}},
  };
  for (const Case& c : cases) EXPECT_EQ(Separate(c.r, c.g, c.b), c.cmyk) << c.name;
}

// At hue step 383, saturation step 255 and value 255 the far corners (weight 0)
// lie past the 100352 table bytes: the padding keeps the reads inside the block.
TEST_F(SeparationTablesTest, FarthestCornersStayInsideTheAllocation) {
  uint8_t rgb[] = {255, 0, 1, 255, 0, 1};
  std::vector<uint8_t> cmyk(8);
  SeparateLineInterleaved8(rgb, cmyk.data(), 2);
  EXPECT_EQ(cmyk, (std::vector<uint8_t>{239, 248, 240, 93, 239, 248, 240, 93}));
}

TEST_F(SeparationTablesTest, InterleavedKernelEqualsPlanarKernel) {
  std::mt19937 random(7);
  const int32_t n = 4096;
  std::vector<uint8_t> rgb(3 * n), planes(3 * n), interleaved(4 * n), planar(4 * n);
  for (int32_t i = 0; i < 3 * n; ++i) rgb[i] = static_cast<uint8_t>(random());
  for (int32_t i = 0; i < n; ++i)
    for (int32_t c = 0; c < 3; ++c) planes[c * n + i] = rgb[3 * i + c];
  SeparateLineInterleaved8(rgb.data(), interleaved.data(), n);
  SeparateLinePlanar8(&planes[0], &planes[n], &planes[2 * n], &planar[0], &planar[n], &planar[2 * n], &planar[3 * n],
                      n);
  for (int32_t i = 0; i < n; ++i)
    for (int32_t c = 0; c < 4; ++c) ASSERT_EQ(interleaved[4 * i + c], planar[c * n + i]) << "pixel " << i;
}

TEST(SeparationTablesUnready, KernelsLeaveTheOutputAlone) {
  FreeSeparationTables();
  EXPECT_FALSE(AreSeparationTablesReady());
  uint8_t rgb[3] = {10, 20, 30}, cmyk[4] = {1, 2, 3, 4};
  SeparateLineInterleaved8(rgb, cmyk, 1);
  SeparateLinePlanar8(&rgb[0], &rgb[1], &rgb[2], &cmyk[0], &cmyk[1], &cmyk[2], &cmyk[3], 1);
  EXPECT_EQ(cmyk[0] + cmyk[1] + cmyk[2] + cmyk[3], 10);
  EXPECT_EQ(LoadSeparationTables("whatever.ast"), -999);
}

}  // namespace
