// The BMP reader on small files built here byte by byte: the RLE state
// machine's rules, damaged and hostile headers, and the 16-bit channel rule.
// Under the host configuration's sanitizers none of it may report.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "imagelib/bmp_rows.h"
#include "imagelib/library_context.h"

using namespace bmp_test;

namespace {

void Put16(Bytes& b, uint32_t v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A file with a 40-byte information header; the data offset follows the
// table and the gap unless set.
struct BmpBuilder {
  int32_t width = 4;
  int32_t height = 3;
  uint16_t bits = 8;
  uint32_t compression = 0;
  uint32_t colors_used = 0;
  int table_entries = 0;
  Bytes masks;
  Bytes gap;
  Bytes data;
  int64_t data_offset = -1;

  Bytes Build() const {
    Bytes b = {'B', 'M'};
    uint32_t offset = data_offset >= 0 ? static_cast<uint32_t>(data_offset)
                                       : static_cast<uint32_t>(54 + masks.size() + 4 * table_entries + gap.size());
    Put32(b, static_cast<uint32_t>(offset + data.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(width));
    Put32(b, static_cast<uint32_t>(height));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, compression);
    Put32(b, static_cast<uint32_t>(data.size()));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, colors_used);
    Put32(b, 0);
    b.insert(b.end(), masks.begin(), masks.end());
    for (int i = 0; i < table_entries; ++i) b.insert(b.end(), {uint8_t(10 * i), uint8_t(i), uint8_t(255 - i), 0});
    b.insert(b.end(), gap.begin(), gap.end());
    b.insert(b.end(), data.begin(), data.end());
    return b;
  }
};

BmpBuilder Rle8(int width, int height, Bytes data) {
  BmpBuilder b;
  b.width = width;
  b.height = height;
  b.compression = 1;
  b.table_entries = 16;
  b.colors_used = 16;
  b.data = std::move(data);
  return b;
}

// Indexes top row first, as the reader returns them.
struct RleCase {
  const char* name;
  int width;
  int height;
  Bytes data;
  int error;
  Bytes indexes;
};

std::vector<RleCase> RleCases() {
  return {
      {"an encoded run and the end", 4, 2, {3, 5, 0, 1}, kImageOk, {0, 0, 0, 0, 5, 5, 5, 0}},
      {"absolute runs with their pad byte", 5, 1, {0, 3, 7, 8, 9, 0, 2, 4, 0, 1}, kImageOk, {7, 8, 9, 4, 4}},
      {"end of line moves up a row", 3, 2, {1, 1, 0, 0, 2, 2, 0, 1}, kImageOk, {2, 2, 0, 1, 0, 0}},
      {"a delta moves right and up", 4, 3, {1, 5, 0, 2, 2, 1, 1, 6, 0, 1}, kImageOk,
       {0, 0, 0, 0, 0, 0, 0, 6, 5, 0, 0, 0}},
      {"a piece is clipped to the width", 4, 2, {6, 3, 0, 0, 1, 9, 0, 1}, kImageOk, {9, 0, 0, 0, 3, 3, 3, 3}},
      {"an absolute run is clipped too", 3, 1, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, kImageOk, {1, 2, 3}},
      {"rows below the image are dropped", 2, 2, {1, 1, 0, 0, 1, 2, 0, 0, 2, 3, 0, 0, 2, 4, 0, 0, 255, 7, 0, 1},
       kImageOk, {2, 0, 1, 0}},
      {"a delta past the width writes nothing", 3, 2, {0, 2, 200, 0, 3, 7, 0, 0, 1, 1, 0, 1}, kImageOk,
       {1, 0, 0, 0, 0, 0}},
      {"a delta below the image writes nothing", 3, 2, {0, 2, 0, 250, 3, 7, 0, 1}, kImageOk, {0, 0, 0, 0, 0, 0}},
      {"data that ends without the end escape", 4, 2, {2, 6, 0, 0, 1, 4}, kImageReadFailed,
       {4, 0, 0, 0, 6, 6, 0, 0}},
      {"data that ends inside an absolute run", 4, 1, {0, 4, 1, 2}, kImageReadFailed, {0, 0, 0, 0}},
  };
}

TEST(BmpRle8, FollowsTheStateMachine) {
  for (const RleCase& c : RleCases()) {
    SCOPED_TRACE(c.name);
    BmpRead read = ReadBmpBytes(Rle8(c.width, c.height, c.data).Build(), 8);
    ASSERT_TRUE(read.returned);
    EXPECT_EQ(read.error, c.error);
    EXPECT_EQ(read.width, c.width);
    EXPECT_EQ(read.height, c.height);
    EXPECT_EQ(read.pixels, c.indexes);
  }
}

TEST(BmpRle8, ReadAsRgbUnreachedPixelsShowTheFirstTableColour) {
  BmpRead read = ReadBmpBytes(Rle8(2, 1, {1, 3, 0, 1}).Build(), 24);
  ASSERT_TRUE(read.returned);
  EXPECT_EQ(read.error, kImageOk);
  // Table entry i is red 255 - i, green i, blue 10 i.
  EXPECT_EQ(read.pixels, (Bytes{252, 3, 30, 255, 0, 0}));
}

TEST(BmpRle8, ANegativeHeightIsRefusedWith6) {
  for (int bits : {8, 24}) {
    BmpRead read = ReadBmpBytes(Rle8(4, -2, {4, 1, 0, 1}).Build(), bits);
    EXPECT_FALSE(read.returned);
    EXPECT_EQ(read.error, kImageNotBmp);
  }
}

TEST(BmpRle4, NibblesAlternateAndOddAbsoluteRunsArePadded) {
  BmpBuilder b = Rle8(10, 1, {5, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1});
  b.bits = 4;
  b.compression = 2;
  BmpRead read = ReadBmpBytes(b.Build(), 8);
  ASSERT_TRUE(read.returned);
  EXPECT_EQ(read.error, kImageOk);
  EXPECT_EQ(read.pixels, (Bytes{1, 2, 1, 2, 1, 3, 4, 5, 6, 7}));
}

TEST(BmpRle, CompressionThatDoesNotMatchTheDepthIsRefusedWith6) {
  BmpBuilder rle8_of_4 = Rle8(4, 1, {4, 1, 0, 1});
  rle8_of_4.bits = 4;
  BmpBuilder rle4_of_8 = Rle8(4, 1, {4, 1, 0, 1});
  rle4_of_8.compression = 2;
  for (const BmpBuilder& b : {rle8_of_4, rle4_of_8})
    for (int bits : {8, 24}) EXPECT_EQ(ReadBmpBytes(b.Build(), bits).error, kImageNotBmp);
}

BmpBuilder Rgb24(int width, int height) {
  BmpBuilder b;
  b.width = width;
  b.height = height;
  b.bits = 24;
  b.data.assign(static_cast<size_t>(((width * 3 + 3) / 4) * 4 * height), 0x40);
  return b;
}

struct DamagedCase {
  const char* name;
  Bytes file;
  int bits;
  int error;
  bool partial;  // the rows read so far come back
};

Bytes Cut(Bytes file, size_t length) {
  file.resize(length);
  return file;
}

std::vector<DamagedCase> DamagedCases() {
  auto with = [](BmpBuilder b, auto change) {
    change(b);
    return b.Build();
  };
  Bytes rgb = Rgb24(5, 4).Build();
  Bytes no_signature = rgb;
  no_signature[0] = 'X';
  return {
      {"no signature", no_signature, 24, kImageNotBmp, false},
      {"file header cut", Cut(rgb, 10), 24, kImageReadFailed, false},
      {"information header cut", Cut(rgb, 30), 24, kImageReadFailed, false},
      {"width 0", with(Rgb24(5, 4), [](BmpBuilder& b) { b.width = 0; }), 24, kImageNotBmp, false},
      {"negative width", with(Rgb24(5, 4), [](BmpBuilder& b) { b.width = -5; }), 24, kImageNotBmp, false},
      {"height INT_MIN", with(Rgb24(5, 4), [](BmpBuilder& b) { b.height = INT32_MIN; }), 24, kImageNotBmp, false},
      {"compression 4", with(Rgb24(5, 4), [](BmpBuilder& b) { b.compression = 4; }), 24, kImageNotBmp, false},
      {"compression 5", with(Rgb24(5, 4), [](BmpBuilder& b) { b.compression = 5; }), 24, kImageNotBmp, false},
      {"RLE8 on 4 bits", with(Rle8(4, 1, {}), [](BmpBuilder& b) { b.bits = 4; }), 24, kImageNotBmp, false},
      {"depth 7", with(Rgb24(5, 4), [](BmpBuilder& b) { b.bits = 7; }), 24, kImageNotBmp, false},
      {"data offset past the end", with(Rgb24(5, 4), [](BmpBuilder& b) { b.data_offset = 5000; }), 24,
       kImageNotBmp, false},
      {"indexed data offset inside the table",
       with(Rle8(4, 1, {}), [](BmpBuilder& b) { b.compression = 0, b.data = Bytes(4), b.data_offset = 60; }), 8,
       kImageNotBmp, false},
      {"masks cut", with(Rgb24(1, 1), [](BmpBuilder& b) { b.bits = 16, b.compression = 3, b.data.clear(); }), 24,
       kImageReadFailed, false},
      {"table cut", Cut(with(Rle8(4, 1, {}), [](BmpBuilder& b) { b.compression = 0; }), 60), 8, kImageReadFailed,
       false},
      {"pixel data cut", Cut(rgb, rgb.size() - 10), 24, kImageReadFailed, true},
      {"60000 x 60000", with(Rgb24(1, 1), [](BmpBuilder& b) { b.width = b.height = 60000; }), 24, kImageNoMemory,
       false},
      {"60000 x 60000 indexed",
       with(Rle8(1, 1, {}), [](BmpBuilder& b) { b.compression = 0, b.width = b.height = 60000; }), 8, kImageNoMemory,
       false},
      {"60000 x 60000 RLE", with(Rle8(1, 1, {}), [](BmpBuilder& b) { b.width = b.height = 60000; }), 24,
       kImageNoMemory, false},
  };
}

TEST(BmpDamaged, EachFailsWithItsCode) {
  for (const DamagedCase& c : DamagedCases()) {
    SCOPED_TRACE(c.name);
    BmpRead read = ReadBmpBytes(c.file, c.bits);
    EXPECT_EQ(read.error, c.error);
    EXPECT_EQ(read.returned, c.partial);
  }
}

TEST(BmpDamaged, ACutFileReturnsTheRowsReadSoFar) {
  Bytes file = Rgb24(5, 4).Build();
  // The last stored row is the image's first; it is the one cut off.
  BmpRead read = ReadBmpBytes(Cut(file, file.size() - 16), 24);
  ASSERT_TRUE(read.returned);
  EXPECT_EQ(read.pixels[0], 0);
  EXPECT_EQ(read.pixels[3 * 5], 0x40);
}

TEST(BmpDamaged, ManyColoursUsedStayWithinThe256EntryTable) {
  BmpBuilder b = Rle8(4, 2, {});
  b.compression = 0;
  b.table_entries = 256;
  b.colors_used = 1000;
  b.data = Bytes(8, 255);
  for (int bits : {8, 24}) {
    BmpRead read = ReadBmpBytes(b.Build(), bits);
    ASSERT_TRUE(read.returned);
    EXPECT_EQ(read.error, kImageOk);
  }
  EXPECT_EQ(ReadBmpBytes(b.Build(), 8).palette[255].red, 0);
}

TEST(BmpDamaged, A16BitFileWithoutColoursHasNoTable) {
  BmpBuilder b = Rgb24(2, 1);
  b.bits = 16;
  b.data = {0xFF, 0x7F, 0x00, 0x00};
  BmpRead read = ReadBmpBytes(b.Build(), 24);
  ASSERT_TRUE(read.returned);
  EXPECT_EQ(read.error, kImageOk);
  EXPECT_EQ(read.pixels, (Bytes{255, 255, 255, 7, 7, 7}));
}

// Each header byte of small files overwritten with 0x00, 0x7F and 0xFF:
// every read ends with some code, and whatever it returns is freed. The files
// are small, so that the sizes a changed byte claims stay within reach.
TEST(BmpDamaged, HeaderSweep) {
  BmpBuilder bit_fields = Rgb24(3, 2);
  bit_fields.bits = 16;
  bit_fields.compression = 3;
  bit_fields.masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
  bit_fields.data = Bytes(16, 0x5A);
  BmpBuilder one_bit = Rle8(5, 2, Bytes(8, 0xA5));
  one_bit.bits = 1;
  one_bit.compression = 0;
  one_bit.table_entries = 2;
  one_bit.colors_used = 0;
  const Bytes files[] = {Rle8(3, 2, {3, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}).Build(), bit_fields.Build(),
                         one_bit.Build()};
  for (const Bytes& original : files)
    for (size_t at = 0; at < 54; ++at)
      for (uint8_t value : {0x00, 0x7F, 0xFF}) {
        Bytes file = original;
        file[at] = value;
        for (int bits : {1, 8, 24}) {
          BmpRead read = ReadBmpBytes(file, bits);
          EXPECT_NE(read.error, -1) << "byte " << at << " = " << int(value);
        }
      }
}

int Stop(int, int, void*) { return 0; }

TEST(BmpProgress, AStopReturnsThePartialBufferWith14) {
  imagelib::GetContext()->progress = Stop;
  BmpRead rows = ReadBmpBytes(Rgb24(5, 4).Build(), 24);
  BmpRead rle = ReadBmpBytes(Rle8(3, 2, {3, 1, 0, 0, 3, 2, 0, 1}).Build(), 8);
  imagelib::GetContext()->progress = nullptr;
  EXPECT_TRUE(rows.returned);
  EXPECT_EQ(rows.error, kImageStopped);
  EXPECT_TRUE(rle.returned);
  EXPECT_EQ(rle.error, kImageStopped);
  EXPECT_EQ(rle.pixels, (Bytes{0, 0, 0, 1, 1, 1}));
}

struct MaskCase {
  uint32_t mask;
  uint16_t word;
  uint8_t expected;
};

// The channel's top bit lands on bit 7, the bits below it are ones.
TEST(BmpRows, BitFieldChannels) {
  const MaskCase cases[] = {
      {0xF800, 0xF800, 255}, {0xF800, 0x0000, 7},   {0x07E0, 0x07E0, 255}, {0x07E0, 0x0000, 3},
      {0x001F, 0x0010, 135}, {0x7C00, 0x4000, 135}, {0x01F0, 0x0100, 135},  // a run topping at bit 8
      {0xFFFF, 0xABCD, 0xAB},                                                 // wider than 8 bits: no fill
      {0x0FFF, 0x0ABC, 0xAB}, {0x0001, 0x0001, 255}, {0x0001, 0x0000, 127}, {0x0000, 0xFFFF, 0},
      {0xFFFF0000, 0xFFFF, 0},  // only the low 16 bits of a mask count
  };
  for (const MaskCase& c : cases) {
    const uint8_t word[2] = {uint8_t(c.word), uint8_t(c.word >> 8)};
    const imagelib::BmpMasks masks = {c.mask, 0, 0};
    uint8_t rgb[3];
    imagelib::ConvertBmpRow(word, 1, 16, nullptr, &masks, rgb, -1);
    EXPECT_EQ(rgb[0], c.expected) << std::hex << "mask " << c.mask << ", word " << c.word;
  }
}

TEST(BmpRows, AFourthByteFollowsEachPixelWhenAsked) {
  const uint8_t bgr[6] = {1, 2, 3, 4, 5, 6};
  uint8_t out[8];
  imagelib::ConvertBmpRow(bgr, 2, 24, nullptr, nullptr, out, 0xEE);
  EXPECT_EQ(Bytes(out, out + 8), (Bytes{3, 2, 1, 0xEE, 6, 5, 4, 0xEE}));
}

TEST(BmpRows, PackedIndexesExpandMostSignificantFirst) {
  const uint8_t packed[2] = {0xA5, 0x3C};
  uint8_t ones[10], nibbles[3];
  imagelib::ExpandBmpIndexes(packed, 10, 1, ones);
  imagelib::ExpandBmpIndexes(packed, 3, 4, nibbles);
  EXPECT_EQ(Bytes(ones, ones + 10), (Bytes{1, 0, 1, 0, 0, 1, 0, 1, 0, 0}));
  EXPECT_EQ(Bytes(nibbles, nibbles + 3), (Bytes{0xA, 0x5, 0x3}));
}

}  // namespace
