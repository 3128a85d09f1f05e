// The bytes of the TIFF writer's header block, preview directory and
// resource blocks, against values worked out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "output/tiff_layout.h"

namespace {

uint16_t Le16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
uint32_t Le32(const uint8_t* at) { return GetLittle32(at); }

struct Entry {
  uint16_t tag, type;
  uint32_t count, value;
};

Entry EntryAt(const uint8_t* ifd, int i) {
  const uint8_t* e = ifd + 2 + 12 * i;
  return Entry{Le16(e), Le16(e + 2), Le32(e + 4), Le32(e + 8)};
}

struct HeaderCase {
  const char* name;
  uint32_t colorMode;
  int32_t bits, spp;
  bool zir;
  int32_t cms;
  bool staysRgb;
  uint32_t profile;
  uint16_t photometric;
  uint32_t bitsValue;  // entry 4's value: the offset 246 for RGB, else the bits
  uint32_t stripBytes;
};

// 100 columns, 7 rows.
const HeaderCase kHeaders[] = {
    {"grey8", 1, 8, 1, false, 0, true, 0, 1, 8, 700},
    {"grey1", 1, 1, 1, false, 0, true, 0, 0, 1, 13 * 7},
    {"grey16", 1, 16, 1, false, 0, true, 0, 1, 16, 1400},
    {"rgb8", 2, 8, 3, false, 0, true, 0, 2, 246, 2100},
    {"cmyk8", 2, 8, 4, false, 0, false, 0, 5, 246, 2800},
    {"lab16", 2, 16, 3, false, 4, true, 0, 8, 246, 4200},
    {"zir16", 2, 16, 3, true, 4, false, 0, 2, 246, 4200},
    {"rgb8_profile", 2, 8, 3, false, 0, true, 3145, 2, 246, 2100},
};

class TiffHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(TiffHeaderTest, EntriesInTheirOrderWithTheirValues) {
  const HeaderCase& c = GetParam();
  TiffHeaderParams p;
  p.profileLength = c.profile;
  p.rows = 7;
  p.columns = 100;
  p.samplesPerPixel = c.spp;
  p.bitsPerChannel = c.bits;
  p.zirOutput = c.zir;
  p.outputCmsMode = c.cms;
  p.outputStaysRgb = c.staysRgb;
  p.outputResolution = 300;
  p.colorMode = c.colorMode;
  p.documentName = "Ein Dokumentname";
  p.artist = "";
  uint8_t h[kTiffHeaderBlockSize];
  std::memset(h, 0xEE, sizeof h);
  BuildTiffHeader(h, p);

  EXPECT_EQ(Le16(h), 0x4949);
  EXPECT_EQ(Le16(h + 2), 42);
  EXPECT_EQ(Le32(h + 4), 8u);
  const int entries = c.profile ? 18 : 17;
  ASSERT_EQ(Le16(h + 8), entries);
  const uint32_t strip = c.profile ? 1278 + 3146 : 1278;
  const Entry expected[] = {
      {254, 4, 1, 0},
      {256, 3, 1, 100},
      {257, 3, 1, 7},
      {258, 3, static_cast<uint32_t>(c.spp), c.bitsValue},
      {259, 3, 1, 1},
      {262, 3, 1, c.photometric},
      {273, 4, 1, strip},
      {277, 3, 1, static_cast<uint32_t>(c.spp)},
      {278, 4, 1, 7},
      {279, 4, 1, c.stripBytes},
      {282, 5, 1, 230},
      {283, 5, 1, 238},
      {284, 3, 1, 1},
      {296, 3, 1, 2},
      {34377, 1, 0, 0},
      {269, 2, 17, 254},
      {315, 2, 1, 0},  // the empty text stands in the entry: four zero bytes
      {34675, 7, 3145, 1278},
  };
  for (int i = 0; i < entries; ++i) {
    const Entry e = EntryAt(h + 8, i);
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(e.tag, expected[i].tag);
    EXPECT_EQ(e.type, expected[i].type);
    EXPECT_EQ(e.count, expected[i].count);
    EXPECT_EQ(e.value, expected[i].value);
  }
  const uint32_t next = c.profile ? 226 : 214;
  EXPECT_EQ(Le32(h + next), 0u);
  EXPECT_EQ(Le32(h + 230), 3000000u);
  EXPECT_EQ(Le32(h + 234), 10000u);
  EXPECT_EQ(Le32(h + 238), 3000000u);
  EXPECT_EQ(Le32(h + 242), 10000u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Le16(h + 246 + 2 * i), c.bits);
  EXPECT_STREQ(reinterpret_cast<const char*>(h + 254), "Ein Dokumentname");
  EXPECT_EQ(h[766], 0);
  EXPECT_EQ(Le16(h + 1278), 0);
  // Bytes not named are zero.
  if (!c.profile) {
    for (uint32_t i = 214; i < 230; ++i) EXPECT_EQ(h[i], 0) << i;
  }
  EXPECT_EQ(TiffImageOffset(c.profile), strip);
}

INSTANTIATE_TEST_SUITE_P(Cases, TiffHeaderTest, ::testing::ValuesIn(kHeaders),
                         [](const auto& info) { return std::string(info.param.name); });

// A text of up to three characters stands in its entry; four characters need the offset.
TEST(TiffHeaderTexts, ShortTextsStandInTheirEntry) {
  struct Case {
    const char* text;
    uint32_t count;
    bool inline_;
  } cases[] = {{"", 1, true}, {"abc", 4, true}, {"abcd", 5, false}};
  for (const Case& c : cases) {
    TiffHeaderParams p;
    p.rows = p.columns = 1;
    p.documentName = c.text;
    p.artist = c.text;
    uint8_t h[kTiffHeaderBlockSize];
    BuildTiffHeader(h, p);
    for (int index : {15, 16}) {
      const uint8_t* e = h + 10 + 12 * index;
      SCOPED_TRACE(std::string(c.text) + " entry " + std::to_string(index + 1));
      EXPECT_EQ(Le32(e + 4), c.count);
      uint8_t expected[4] = {};
      if (c.inline_) std::memcpy(expected, c.text, std::strlen(c.text));
      else PutLittle32(expected, index == 15 ? 254 : 766);
      EXPECT_EQ(std::memcmp(e + 8, expected, 4), 0);
    }
    EXPECT_STREQ(reinterpret_cast<const char*>(h + 254), c.text);
    EXPECT_STREQ(reinterpret_cast<const char*>(h + 766), c.text);
  }
}

// Without resources the entry of tag 34377 leaves the directory; the next-directory field follows.
TEST(TiffHeaderTest, AnEmptyResourceEntryIsTakenOut) {
  for (uint32_t profile : {0u, 3145u}) {
    TiffHeaderParams p;
    p.rows = p.columns = 5;
    p.profileLength = profile;
    uint8_t h[kTiffHeaderBlockSize];
    BuildTiffHeader(h, p);
    const uint32_t oldNext = profile ? 226 : 214;
    PutLittle32(h + oldNext, 9000);
    EXPECT_EQ(RemoveResourceEntry(h), oldNext - 12);
    const int entries = profile ? 17 : 16;
    ASSERT_EQ(Le16(h + 8), entries);
    const uint16_t tags[] = {254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 284, 296, 269, 315, 34675};
    for (int i = 0; i < entries; ++i) EXPECT_EQ(EntryAt(h + 8, i).tag, tags[i]) << i;
    EXPECT_EQ(Le32(h + oldNext - 12), 9000u);
    EXPECT_EQ(Le32(h + oldNext), 0u);
  }
}

TEST(TiffPreviewIfd, OffsetsRelativeToItsPlace) {
  struct Case {
    bool rgb;
    int bits;
    uint32_t bitsValue, spp, strip;
  } cases[] = {{true, 8, 5000 + 190, 3, 40 * 30 * 3}, {false, 16, 16, 1, 40 * 30 * 2}, {true, 16, 5000 + 190, 3, 40 * 30 * 6}};
  for (const Case& c : cases) {
    uint8_t ifd[kPreviewIfdSize];
    BuildPreviewIfd(ifd, 5000, 40, 30, c.rgb, c.bits);
    ASSERT_EQ(Le16(ifd), 14);
    const Entry expected[] = {{254, 4, 1, 1},         {256, 3, 1, 40},       {257, 3, 1, 30},
                              {258, 3, c.spp, c.bitsValue},
                              {259, 3, 1, 1},         {262, 3, 1, c.rgb ? 2u : 1u},
                              {273, 4, 1, 5196},      {277, 3, 1, c.spp},    {278, 4, 1, 30},
                              {279, 4, 1, c.strip},   {282, 5, 1, 5174},     {283, 5, 1, 5182},
                              {284, 3, 1, 1},         {296, 3, 1, 2}};
    for (int i = 0; i < 14; ++i) {
      const Entry e = EntryAt(ifd, i);
      SCOPED_TRACE(i + 1);
      EXPECT_EQ(e.tag, expected[i].tag);
      EXPECT_EQ(e.type, expected[i].type);
      EXPECT_EQ(e.count, expected[i].count);
      EXPECT_EQ(e.value, expected[i].value);
    }
    EXPECT_EQ(Le32(ifd + 170), 0u);
    EXPECT_EQ(Le32(ifd + 174), 720000u);
    EXPECT_EQ(Le32(ifd + 178), 10000u);
    EXPECT_EQ(Le32(ifd + 182), 720000u);
    EXPECT_EQ(Le32(ifd + 186), 10000u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Le16(ifd + 190 + 2 * i), c.bits);
    EXPECT_EQ(PreviewStripBytes(40, 30, c.rgb, c.bits), c.strip);
  }
}

TEST(ThumbnailHeaderTest, BigEndianInTheFile) {
  ThumbnailHeader h = MakeThumbnailHeader(101, 20);
  EXPECT_EQ(h.rowBytes, 304u);
  EXPECT_EQ(h.totalSize, 6080u);
  h.compressedSize = 0x01020304;
  SwapThumbnailHeader(&h);
  const uint8_t expected[28] = {0, 0, 0, 1, 0, 0, 0, 101, 0, 0, 0, 20, 0, 0, 1, 0x30,
                                0, 0, 0x17, 0xC0, 1, 2, 3, 4, 0, 24, 0, 1};
  EXPECT_EQ(std::memcmp(&h, expected, 28), 0);
  SwapThumbnailHeader(&h);
  EXPECT_EQ(h.width, 101u);
  EXPECT_EQ(h.planes, 1u);
}

TEST(ResourceBlockTest, NamesAndDataPaddedToEven) {
  const uint8_t data[3] = {7, 8, 9};
  const uint8_t name[] = {4, 'P', 'f', 'a', 'd'};
  const std::vector<uint8_t> named = MakeResourceBlock(2000, name, data, 3);
  const std::vector<uint8_t> expectNamed = {'8', 'B', 'I', 'M', 0x07, 0xD0, 4, 'P', 'f', 'a', 'd', 0,
                                            0,   0,   0,   3,   7,    8,    9, 0};
  EXPECT_EQ(named, expectNamed);
  const std::vector<uint8_t> bare = MakeResourceBlock(1028, nullptr, data, 2);
  const std::vector<uint8_t> expectBare = {'8', 'B', 'I', 'M', 0x04, 0x04, 0, 0, 0, 0, 0, 2, 7, 8};
  EXPECT_EQ(bare, expectBare);
}

}  // namespace
