// The PSD reader on its fixtures and spoiled headers, and the writer's files.
#include "codec_cases.h"

using namespace codec_tests;

namespace {

TEST(PsdReader, FixturesReadAsImageMagickOrTheFormatDecodesThem) { RunFixtureCases("psd", ReadPsdFile); }

TEST(PsdReader, SpoiledHeadersAreReadOrRefusedSafely) {
  SweepHeaderBytes("im_rgb_rle.psd", 40, ReadPsdFile);
  SweepHeaderBytes("gen_packbits_128.psd", 60, ReadPsdFile);
}

TEST(PsdReader, AStopReports14AndAnEightBitReadNeedsAPalette) {
  WithStopAtRow(20, [] {
    const Decoded d = ReadFile(ReadPsdFile, "im_rgb_raw.psd", 24);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.error, 14);
  });
  ImageStream stream = OpenFileSource("im_grey.psd");
  int width = 0, height = 0;
  EXPECT_EQ(ReadPsdFile(stream, &width, &height, 8, nullptr), nullptr);
  EXPECT_EQ(GetLastImageError(), 5);
  CloseFileSource(stream);
}

TEST(PsdWriter, RgbIsRawPlanesBehindEmptySections) {
  for (int width : {1, 4, 33}) {
    const int height = 3;
    const std::string path = "written_rgb_" + std::to_string(width) + ".psd";
    const Bytes rgb = TestRgb(width, height);
    WriteFile(WritePsdFile, path, rgb, width, height, 24, nullptr);
    const Bytes file = FileBytes(path);
    ASSERT_EQ(file.size(), 26u + 4 + 4 + 4 + 2 + 3u * width * height);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{'8', 'B', 'P', 'S'}));
    EXPECT_EQ(file[13], 3) << "channels";
    EXPECT_EQ(file[25], 3) << "mode";
    EXPECT_EQ(file[40], rgb[0]) << "the red plane first";
    EXPECT_EQ(file[40 + width * height], rgb[1]);
    const Decoded d = ReadFile(ReadPsdFile, path, 24);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.pixels, rgb);
  }
}

TEST(PsdWriter, IndexedCarriesRedsGreensAndBlues) {
  PaletteEntry palette[256];
  TestPalette(palette);
  const int width = 5, height = 4;
  const Bytes indexes = TestIndexes(width, height);
  WriteFile(WritePsdFile, "written_indexed.psd", indexes, width, height, 8, palette);
  const Bytes file = FileBytes("written_indexed.psd");
  ASSERT_EQ(file.size(), 26u + 4 + 768 + 4 + 4 + 2 + width * height);
  EXPECT_EQ(file[25], 2) << "mode";
  EXPECT_EQ(file[26 + 2], 3) << "768 bytes of colour data";
  EXPECT_EQ(file[30 + 10], palette[10].red);
  EXPECT_EQ(file[30 + 256 + 10], palette[10].green);
  EXPECT_EQ(file[30 + 512 + 10], palette[10].blue);
  const Decoded d = ReadFile(ReadPsdFile, "written_indexed.psd", 8);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.pixels, indexes);
}

}  // namespace
