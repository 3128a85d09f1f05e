// ICC chunk assembly, the APP13 table, the scale choice and JFIF density.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "readers/jpeg/jpeg_app13_table.h"
#include "readers/jpeg/jpeg_icc_profile.h"
#include "readers/jpeg/jpeg_scale.h"

namespace {

std::vector<uint8_t> IccMarker(uint8_t number, uint8_t count, const std::string& data) {
  std::string content = std::string("ICC_PROFILE", 12) + char(number) + char(count) + data;
  return std::vector<uint8_t>(content.begin(), content.end());
}

TEST(IccMarker, ParsesChunkNumberCountAndData) {
  std::vector<uint8_t> marker = IccMarker(2, 3, "xyz");
  IccMarkerChunk chunk;
  ASSERT_TRUE(ParseIccMarker(marker.data(), static_cast<uint32_t>(marker.size()), &chunk));
  EXPECT_EQ(chunk.number, 2);
  EXPECT_EQ(chunk.count, 3);
  EXPECT_EQ(std::string(chunk.data, chunk.data + chunk.size), "xyz");
}

TEST(IccMarker, RefusesOtherAppTwoMarkersAndEmptyChunks) {
  IccMarkerChunk chunk;
  std::vector<uint8_t> empty = IccMarker(1, 1, "");
  EXPECT_FALSE(ParseIccMarker(empty.data(), static_cast<uint32_t>(empty.size()), &chunk));
  std::string other = std::string("MPF\0\0\0\0\0\0\0\0\0\1\1data", 18);
  EXPECT_FALSE(ParseIccMarker(reinterpret_cast<const uint8_t*>(other.data()), 18, &chunk));
  EXPECT_FALSE(ParseIccMarker(reinterpret_cast<const uint8_t*>("ICC"), 3, &chunk));
}

struct ChunkSequence {
  const char* name;
  std::vector<std::pair<int, int>> chunks;  // number, count; data is the number as a letter
  bool complete;
  std::string profile;
};

class IccAssembly : public ::testing::TestWithParam<ChunkSequence> {};

TEST_P(IccAssembly, KeepsOnlyAnUnbrokenRun) {
  IccChunkAssembler assembler;
  for (auto [number, count] : GetParam().chunks) {
    std::string data(1, char('A' + number - 1));
    assembler.AddChunk(IccMarkerChunk{uint8_t(number), uint8_t(count),
                                      reinterpret_cast<const uint8_t*>(data.data()), 1});
  }
  EXPECT_EQ(assembler.Complete(), GetParam().complete);
  EXPECT_EQ(std::string(assembler.Profile().begin(), assembler.Profile().end()), GetParam().profile);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, IccAssembly,
    ::testing::Values(ChunkSequence{"InOrder", {{1, 3}, {2, 3}, {3, 3}}, true, "ABC"},
                      ChunkSequence{"Single", {{1, 1}}, true, "A"},
                      ChunkSequence{"ThreeAfterOne", {{1, 3}, {3, 3}}, false, ""},
                      ChunkSequence{"MissingLast", {{1, 3}, {2, 3}}, false, "AB"},
                      ChunkSequence{"CountChanges", {{1, 3}, {2, 2}}, false, ""},
                      ChunkSequence{"StartsAtTwo", {{2, 2}}, false, ""},
                      ChunkSequence{"ExtraAfterComplete", {{1, 2}, {2, 2}, {3, 2}}, false, ""},
                      ChunkSequence{"RestartAfterDiscard", {{1, 2}, {1, 2}, {1, 2}, {2, 2}}, true, "AB"}),
    [](const ::testing::TestParamInfo<ChunkSequence>& info) { return info.param.name; });

TEST(App13Table, EachReaderKeepsItsOwnContent) {
  int readers[31] = {};
  const uint8_t first[] = {1, 2, 3};
  const uint8_t second[] = {9};
  SaveApp13(&readers[0], first, 3);
  SaveApp13(&readers[1], second, 1);
  ASSERT_NE(FindApp13(&readers[0]), nullptr);
  EXPECT_EQ(*FindApp13(&readers[0]), std::vector<uint8_t>(first, first + 3));
  SaveApp13(&readers[0], second, 1);
  EXPECT_EQ(*FindApp13(&readers[0]), std::vector<uint8_t>(1, 9));
  SaveApp13(&readers[2], nullptr, 0);
  ASSERT_NE(FindApp13(&readers[2]), nullptr);
  EXPECT_TRUE(FindApp13(&readers[2])->empty());
  for (int& reader : readers) ReleaseApp13(&reader);
  EXPECT_EQ(FindApp13(&readers[0]), nullptr);
}

TEST(App13Table, TheThirtyFirstReaderTakesAnEntryInTurn) {
  int readers[31] = {};
  const uint8_t byte[] = {7};
  for (int& reader : readers) SaveApp13(&reader, byte, 1);
  int present = 0;
  for (int& reader : readers) present += FindApp13(&reader) != nullptr;
  EXPECT_EQ(present, 30);
  EXPECT_NE(FindApp13(&readers[30]), nullptr);
  for (int& reader : readers) ReleaseApp13(&reader);
}

struct ScaleCase {
  uint32_t width, height, target, denominator;
};

class ScaleChoice : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleChoice, SmallestReductionNotBelowTheTarget) {
  const ScaleCase& c = GetParam();
  EXPECT_EQ(ChooseScaleDenominator(c.width, c.height, c.target), c.denominator);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScaleChoice,
                         ::testing::Values(ScaleCase{4000, 3000, 600, 4}, ScaleCase{4000, 3000, 1000, 4},
                                           ScaleCase{4000, 3000, 4000, 1}, ScaleCase{4000, 3000, 3999, 1},
                                           ScaleCase{4000, 3000, 2000, 2}, ScaleCase{4000, 3000, 100, 8},
                                           ScaleCase{100, 80, 600, 1}, ScaleCase{1201, 10, 600, 2}));

struct DensityCase {
  bool jfif;
  int unit;
  uint32_t density, denominator, dpi;
};

class JfifDensity : public ::testing::TestWithParam<DensityCase> {};

TEST_P(JfifDensity, GivesDotsPerInch) {
  const DensityCase& c = GetParam();
  EXPECT_EQ(JfifResolution(c.jfif, c.unit, c.density, c.denominator), c.dpi);
}

INSTANTIATE_TEST_SUITE_P(Cases, JfifDensity,
                         ::testing::Values(DensityCase{true, 2, 118, 1, 300}, DensityCase{true, 1, 300, 1, 300},
                                           DensityCase{true, 1, 300, 4, 75}, DensityCase{true, 0, 1, 1, 72},
                                           DensityCase{false, 1, 300, 1, 72}, DensityCase{true, 1, 0, 1, 72},
                                           DensityCase{true, 2, 0, 1, 72}, DensityCase{true, 2, 118, 2, 150}));

}  // namespace
