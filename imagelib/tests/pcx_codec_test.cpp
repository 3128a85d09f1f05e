// The PCX reader on its fixtures and spoiled headers, and the writer's coding.
#include "codec_cases.h"

using namespace codec_tests;

namespace {

TEST(PcxReader, FixturesReadAsImageMagickOrTheFormatDecodesThem) { RunFixtureCases("pcx", ReadPcxFile); }

TEST(PcxReader, SpoiledHeadersAreReadOrRefusedSafely) {
  SweepHeaderBytes("im_p8.pcx", 128, ReadPcxFile);
  SweepHeaderBytes("gen_p4planes.pcx", 128, ReadPcxFile);
}

TEST(PcxReader, AStopReports14) {
  WithStopAtRow(3, [] {
    const Decoded d = ReadFile(ReadPcxFile, "im_p24.pcx", 24);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.error, 14);
  });
}

TEST(PcxWriter, RunsOf63AndCountLookingBytesAreCoded) {
  PaletteEntry palette[256];
  TestPalette(palette);
  // One row of 100 equal bytes, one with a single 0xC5 among others.
  Bytes indexes(200, 7);
  indexes[150] = 0xC5;
  WriteFile(WritePcxFile, "written_runs.pcx", indexes, 100, 2, 8, palette);
  const Bytes file = FileBytes("written_runs.pcx");
  ASSERT_GT(file.size(), 128u + 769u);
  EXPECT_EQ(file[0], 10);
  EXPECT_EQ(file[1], 5);
  EXPECT_EQ(file[3], 8);
  EXPECT_EQ(file[12] | file[13] << 8, 96);
  EXPECT_EQ(file[14] | file[15] << 8, 96);
  EXPECT_EQ(file[65], 1);
  EXPECT_EQ(file[66] | file[67] << 8, 100);
  const Bytes row1 = {0xFF, 7, 0xE5, 7};
  EXPECT_EQ(Bytes(file.begin() + 128, file.begin() + 132), row1);
  const Bytes row2 = {0xF2, 7, 0xC1, 0xC5, 0xF1, 7};
  EXPECT_EQ(Bytes(file.begin() + 132, file.begin() + 138), row2);
  ASSERT_EQ(file.size(), 138u + 769u);
  EXPECT_EQ(file[138], 12);
  EXPECT_EQ(file[139], palette[0].red);
  const Decoded d = ReadFile(ReadPcxFile, "written_runs.pcx", 8);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.pixels, indexes);
}

TEST(PcxWriter, ThreePlanesAndOddWidthsComeBack) {
  for (int width : {1, 2, 3, 5, 33}) {
    const int height = 4;
    const std::string path = "written_rgb_" + std::to_string(width) + ".pcx";
    const Bytes rgb = TestRgb(width, height);
    WriteFile(WritePcxFile, path, rgb, width, height, 24, nullptr);
    const Bytes file = FileBytes(path);
    EXPECT_EQ(file[65], 3);
    EXPECT_EQ(file[66] | file[67] << 8, (width + 1) & ~1) << "even bytes per line";
    const Decoded d = ReadFile(ReadPcxFile, path, 24);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.pixels, rgb);
  }
  PaletteEntry palette[256];
  TestPalette(palette);
  WriteFile(WritePcxFile, "written_indexed_odd.pcx", TestIndexes(9, 4), 9, 4, 8, palette);
}

}  // namespace
