// The TGA reader on its fixtures and spoiled headers, and the writer's files.
#include "codec_cases.h"

using namespace codec_tests;

namespace {

TEST(TgaReader, FixturesReadAsImageMagickOrTheFormatDecodesThem) { RunFixtureCases("tga", ReadTgaFile); }

TEST(TgaReader, SpoiledHeadersAreReadOrRefusedSafely) {
  SweepHeaderBytes("im_t10.tga", 18, ReadTgaFile);
  SweepHeaderBytes("im_t1.tga", 18, ReadTgaFile);
}

TEST(TgaReader, AStopFreesTheBufferAndReports14) {
  WithStopAtRow(5, [] {
    const Decoded d = ReadFile(ReadTgaFile, "im_t2_bottom.tga", 24);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.error, 14);
  });
}

TEST(TgaWriter, TrueColourIsType2TopToBottomAtEveryWidth) {
  for (int width : {1, 2, 3, 4, 5, 33}) {
    const int height = 3;
    const std::string path = "written_rgb_" + std::to_string(width) + ".tga";
    const Bytes rgb = TestRgb(width, height);
    WriteFile(WriteTgaFile, path, rgb, width, height, 24, nullptr);
    const Bytes file = FileBytes(path);
    ASSERT_EQ(file.size(), 18u + 3u * width * height);
    EXPECT_EQ(file[1], 0);
    EXPECT_EQ(file[2], 2);
    EXPECT_EQ(file[16], 24);
    EXPECT_EQ(file[17], 0x20);
    EXPECT_EQ(file[18], rgb[2]) << "blue first";
    const Decoded d = ReadFile(ReadTgaFile, path, 24);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.pixels, rgb);
  }
}

TEST(TgaWriter, EightBitsCarryAMapOf256Entries) {
  PaletteEntry palette[256];
  TestPalette(palette);
  const int width = 7, height = 5;
  const Bytes indexes = TestIndexes(width, height);
  WriteFile(WriteTgaFile, "written_indexed.tga", indexes, width, height, 8, palette);
  const Bytes file = FileBytes("written_indexed.tga");
  ASSERT_EQ(file.size(), 18u + 768u + width * height);
  EXPECT_EQ(file[1], 1);
  EXPECT_EQ(file[2], 1);
  EXPECT_EQ(file[5] | file[6] << 8, 256);
  EXPECT_EQ(file[7], 24);
  EXPECT_EQ(file[17], 0x28);
  const Decoded d = ReadFile(ReadTgaFile, "written_indexed.tga", 8);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.pixels, indexes);
  for (int i = 0; i < 256; ++i)
    EXPECT_TRUE(d.palette[i].red == palette[i].red && d.palette[i].green == palette[i].green &&
                d.palette[i].blue == palette[i].blue) << i;
}

TEST(TgaWriter, RefusesWhatTheFormatCannotHold) {
  const Bytes rgb = TestRgb(2, 2);
  ImageStream sink = OpenFileSink("written_refused.tga");
  EXPECT_EQ(WriteTgaFile(sink, rgb.data(), 0, 2, 24, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), 5);
  EXPECT_EQ(WriteTgaFile(sink, rgb.data(), 2, 2, 8, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), 5);
  EXPECT_EQ(WriteTgaFile(sink, rgb.data(), 2, 2, 16, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), 5);
  CloseFileSink(sink);
}

}  // namespace
