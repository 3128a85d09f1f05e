// Reduction of 16-bit samples through lookup tables, and the gamma table of 8-bit files.
#include <gtest/gtest.h>

#include <vector>

#include "session/reduction_tables.h"

namespace {

TEST(ReductionTable, SixteenInputBitsAreCappedToFourteen) {
  std::vector<uint16_t> table;
  uint16_t inBits = 0, outBits = 0;
  ASSERT_TRUE(CreateReductionTable(&table, &inBits, &outBits, 16, 8, 1.0));
  EXPECT_EQ(table.size(), 16384u);
  EXPECT_EQ(inBits, 14);
  EXPECT_EQ(outBits, 8);
  EXPECT_EQ(table.front(), 0);
  EXPECT_EQ(table.back(), 255);
  EXPECT_EQ(table[8192], 128);  // gamma 1 is linear
  FreeReductionTable(&table, &inBits, &outBits);
  EXPECT_TRUE(table.empty());
  EXPECT_EQ(inBits, 0);
  EXPECT_EQ(outBits, 0);
  EXPECT_FALSE(CreateReductionTable(nullptr, &inBits, &outBits, 16, 8, 1.0));
  EXPECT_FALSE(CreateReductionTable(&table, nullptr, &outBits, 16, 8, 1.0));
}

// A table whose entry is its own index: out = (in >> shift) << (16 - outBits).
std::vector<uint16_t> IndexTable(uint16_t bits) {
  std::vector<uint16_t> table(size_t{1} << bits);
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint16_t>(i);
  return table;
}

TEST(ReductionTable, FlagExchangesTheFirstTwoPlanes) {
  const std::vector<uint16_t> table = IndexTable(14);
  // Two rows of three planes of two samples; plane p holds (p + 1) x 4000 (+ 4 x row).
  std::vector<uint16_t> in;
  for (int row = 0; row < 2; ++row) {
    for (int p = 0; p < 3; ++p) in.insert(in.end(), 2, static_cast<uint16_t>((p + 1) * 4000 + 4 * row));
  }
  std::vector<uint16_t> straight(12), swapped(12);
  ASSERT_TRUE(ApplyReductionTable(table, 14, 14, in.data(), straight.data(), 2, 2, 3, 6, 2, 6, 2, false));
  ASSERT_TRUE(ApplyReductionTable(table, 14, 14, in.data(), swapped.data(), 2, 2, 3, 6, 2, 6, 2, true));
  EXPECT_EQ(straight, in) << "14 bits in and out keep the top 14 bits";
  const std::vector<uint16_t> expected = {8000, 8000, 4000, 4000, 12000, 12000, 8004, 8004, 4004, 4004, 12004, 12004};
  EXPECT_EQ(swapped, expected);
}

TEST(ReductionTable, LineOperationsShiftAndStep) {
  const std::vector<uint16_t> table = IndexTable(8);
  const uint16_t in[4] = {0x0000, 0x12FF, 0xAB00, 0xFFFF};
  uint8_t bytes[8] = {};
  ASSERT_TRUE(ReduceLineTo8(table, 8, in, bytes, 4, 1, 2));
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8), (std::vector<uint8_t>{0x00, 0, 0x12, 0, 0xAB, 0, 0xFF, 0}));
  uint16_t words[2] = {};
  ASSERT_TRUE(ReduceLineTo16(table, 8, 12, in + 1, words, 2, 2, 1));
  EXPECT_EQ(words[0], 0x12 << 4);
  EXPECT_EQ(words[1], 0xFF << 4);
}

TEST(ReductionTable, BadTablesAndBuffersChangeNothing) {
  const std::vector<uint16_t> small(100);
  const uint16_t in[2] = {1, 2};
  uint16_t out[2] = {7, 7};
  double unit[2] = {};
  EXPECT_FALSE(ReduceLineTo16(small, 14, 14, in, out, 2, 1, 1));
  EXPECT_FALSE(ApplyReductionTable(small, 8, 8, nullptr, out, 1, 2, 1, 2, 2, 2, 2, false));
  EXPECT_FALSE(NormaliseLine(small, 15, 14, in, unit, 2, 1, 1));
  EXPECT_FALSE(DenormaliseLine(small, 14, 0, unit, out, 2, 1, 1));
  EXPECT_EQ(out[0], 7);
}

struct DenormaliseCase {
  double in;
  uint16_t shift;
  uint16_t expected;
};

class DenormaliseTest : public testing::TestWithParam<DenormaliseCase> {};

TEST_P(DenormaliseTest, InterpolatesBetweenEntries) {
  // Entry i = 2i on 14 bits (last entry 32766).
  std::vector<uint16_t> table(16384);
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint16_t>(2 * i);
  const DenormaliseCase& c = GetParam();
  uint16_t out = 0;
  ASSERT_TRUE(DenormaliseLine(table, 14, c.shift, &c.in, &out, 1, 1, 1));
  EXPECT_EQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DenormaliseTest,
    testing::Values(DenormaliseCase{1.0, 0, 32766}, DenormaliseCase{1.0, 1, 65532}, DenormaliseCase{1.5, 0, 32766},
                    DenormaliseCase{0.0, 0, 0}, DenormaliseCase{-0.25, 0, 0},
                    DenormaliseCase{100.5 / 16383, 0, 201}, DenormaliseCase{100.25 / 16383, 2, 802},
                    DenormaliseCase{16382.5 / 16383, 0, 32765}));

TEST(ReductionTable, NormaliseThenDenormaliseRoundTrips) {
  const std::vector<uint16_t> table = IndexTable(14);
  std::vector<uint16_t> in(64);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint16_t>(i * 1031);
  std::vector<double> unit(64);
  std::vector<uint16_t> out(64);
  ASSERT_TRUE(NormaliseLine(table, 14, 14, in.data(), unit.data(), 64, 1, 1));
  ASSERT_TRUE(DenormaliseLine(table, 14, 2, unit.data(), out.data(), 64, 1, 1));
  for (size_t i = 0; i < in.size(); ++i) EXPECT_EQ(out[i], in[i] & 0xFFFC) << i;
}

}  // namespace
