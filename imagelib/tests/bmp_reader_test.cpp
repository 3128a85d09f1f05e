// The BMP reader over the fixtures of make_bmp_fixtures.py: every file read
// as R, G, B equals its expected pixels; indexed files read as 8 bits give
// indexes into the returned palette, and 1-bit files read as 1 bit the
// packed rows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bmp_test_files.h"

using namespace bmp_test;

namespace {

struct Fixture {
  std::string name;
  int width;
  int height;
  int bits;
};

std::vector<Fixture> LoadFixtures() {
  std::vector<Fixture> fixtures;
  std::ifstream list("cases.txt");
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    Fixture f;
    if (fields >> f.name >> f.width >> f.height >> f.bits) fixtures.push_back(f);
  }
  return fixtures;
}

void ExpectSamePixels(const Bytes& actual, const Bytes& expected, int width) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i)
    if (actual[i] != expected[i]) {
      size_t pixel = i / 3;
      FAIL() << "first difference at x " << pixel % width << ", y " << pixel / width << ", channel " << i % 3
             << ": " << int(actual[i]) << " instead of " << int(expected[i]);
    }
}

Bytes LookUp(const BmpRead& read) {
  Bytes rgb;
  for (uint8_t index : read.pixels) {
    const PaletteEntry& entry = read.palette[index];
    rgb.insert(rgb.end(), {entry.red, entry.green, entry.blue});
  }
  return rgb;
}

TEST(BmpFixtures, AreThere) { EXPECT_EQ(LoadFixtures().size(), 16u) << "run make_bmp_fixtures.py first"; }

TEST(BmpFixtures, ReadAsRgbEqualTheirExpectedPixels) {
  for (const Fixture& f : LoadFixtures()) {
    SCOPED_TRACE(f.name);
    BmpRead read = ReadBmp(f.name + ".bmp", 24);
    ASSERT_TRUE(read.returned);
    EXPECT_EQ(read.error, kImageOk);
    EXPECT_EQ(read.width, f.width);
    EXPECT_EQ(read.height, f.height);
    ExpectSamePixels(read.pixels, FileBytes(f.name + ".rgb"), f.width);
  }
}

TEST(BmpFixtures, IndexedFilesReadAs8BitsGiveIndexesIntoThePalette) {
  for (const Fixture& f : LoadFixtures()) {
    if (f.bits > 8) continue;
    SCOPED_TRACE(f.name);
    BmpRead read = ReadBmp(f.name + ".bmp", 8);
    ASSERT_TRUE(read.returned);
    EXPECT_EQ(read.error, kImageOk);
    ExpectSamePixels(LookUp(read), FileBytes(f.name + ".rgb"), f.width);
  }
}

TEST(BmpFixtures, OneBitFilesReadAs1BitGiveThePackedRows) {
  for (const Fixture& f : LoadFixtures()) {
    if (f.bits != 1) continue;
    SCOPED_TRACE(f.name);
    BmpRead indexes = ReadBmp(f.name + ".bmp", 8);
    BmpRead packed = ReadBmp(f.name + ".bmp", 1);
    ASSERT_TRUE(packed.returned);
    EXPECT_EQ(packed.error, kImageOk);
    int row_bytes = (f.width + 7) / 8;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) {
        int bit = (packed.pixels[y * row_bytes + x / 8] >> (7 - x % 8)) & 1;
        ASSERT_EQ(bit, indexes.pixels[y * f.width + x]) << "x " << x << ", y " << y;
      }
    // The buffer has a byte a pixel; the packed rows fill its front.
    EXPECT_EQ(packed.pixels.size(), indexes.pixels.size());
  }
}

TEST(BmpFixtures, DeeperFilesReadAs1BitFailWith28) {
  for (const char* name : {"im_pal4", "im_pal8", "im_rle8", "im_rgb24", "own_rle4"}) {
    SCOPED_TRACE(name);
    BmpRead read = ReadBmp(std::string(name) + ".bmp", 1);
    EXPECT_FALSE(read.returned);
    EXPECT_EQ(read.error, kImageUnsupported);
  }
  for (const char* name : {"im_rgb24", "im_rgb565", "im_rgb32"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ReadBmp(std::string(name) + ".bmp", 8).error, kImageUnsupported);
  }
}

TEST(BmpFixtures, A4BitRequestIsRefusedWith5) {
  BmpRead read = ReadBmp("im_pal4.bmp", 4);
  EXPECT_FALSE(read.returned);
  EXPECT_EQ(read.error, kImageBadArgument);
}

TEST(BmpFixtures, AShortPaletteRepeatsItsFirstEntry) {
  BmpRead read = ReadBmp("own_two_colors8.bmp", 8);
  ASSERT_TRUE(read.returned);
  EXPECT_EQ(read.palette[1].red, 5);
  for (int i = 2; i < kPaletteEntries; ++i) {
    EXPECT_EQ(read.palette[i].red, 200) << i;
    EXPECT_EQ(read.palette[i].green, 10) << i;
    EXPECT_EQ(read.palette[i].blue, 30) << i;
  }
}

// The first two words of own_rgb555.bmp's top row are 0x7FFF and 0.
TEST(BmpFixtures, Words555ExpandWithOnesBelow) {
  BmpRead read = ReadBmp("own_rgb555.bmp", 24);
  ASSERT_TRUE(read.returned);
  EXPECT_EQ(Bytes(read.pixels.begin(), read.pixels.begin() + 6), (Bytes{255, 255, 255, 7, 7, 7}));
}

TEST(BmpFixtures, ANullPaletteFor8BitsIsRefusedWith5) {
  ImageStream stream = OpenFileSource("im_pal8.bmp");
  int width = 0, height = 0;
  EXPECT_EQ(ReadBmpFile(stream, &width, &height, 8, nullptr), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  CloseFileSource(stream);
}

TEST(BmpFixtures, ReadingStartsAtTheStreamsPosition) {
  Bytes file = FileBytes("own_gap24.bmp");
  Bytes shifted(7, 0xEE);
  shifted.insert(shifted.end(), file.begin(), file.end());
  PutFile("bmp_shifted.bmp", shifted);
  ImageStream stream = OpenFileSource("bmp_shifted.bmp");
  ASSERT_EQ(SeekStream(stream, 7, 0), 1);
  int width = 0, height = 0;
  void* pixels = ReadBmpFile(stream, &width, &height, 24, nullptr);
  ASSERT_NE(pixels, nullptr);
  const auto* p = static_cast<const uint8_t*>(pixels);
  ExpectSamePixels(Bytes(p, p + width * height * 3), FileBytes("own_gap24.rgb"), width);
  imagelib::GlobalBlockFree(pixels);
  CloseFileSource(stream);
}

}  // namespace
