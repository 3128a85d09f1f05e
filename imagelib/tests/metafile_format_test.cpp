// The bytes the library makes and checks itself around GDI: the packed DIB of
// a pixel buffer, the placeable header and the metafile header checks.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/metafile_format.h"
#include "imagelib/packed_dib.h"

using namespace imagelib;

namespace {

using Bytes = std::vector<uint8_t>;

TEST(PackedDib, HoldsTheHeaderAndBottomUpBgrRowsPaddedToFourBytes) {
  // 3 x 2: rows of 9 bytes padded to 12.
  const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  EntryWork work(*GetContext());
  PackedDib dib(work, pixels.data(), 3, 2);
  ASSERT_TRUE(dib);
  const Bytes header(dib.Header(), dib.Header() + 40);
  const Bytes expected_header = {40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
                                 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(header, expected_header);
  const Bytes rows(dib.Bits(), dib.Bits() + 24);
  const Bytes expected_rows = {12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0, 3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
  EXPECT_EQ(rows, expected_rows);
  EXPECT_EQ(work.error, kImageOk);
}

TEST(PackedDib, RefusesNullPixelsOrNoSizeWith5AndTooLargeWith1) {
  const uint8_t pixel[3] = {};
  struct Case {
    const void* pixels;
    int width, height, code;
  } cases[] = {{nullptr, 2, 2, kImageBadArgument}, {pixel, 0, 2, kImageBadArgument},
               {pixel, 2, -1, kImageBadArgument}, {pixel, 46341, 46341, kImageNoMemory}};
  for (const Case& c : cases) {
    EntryWork work(*GetContext());
    EXPECT_FALSE(PackedDib(work, c.pixels, c.width, c.height));
    EXPECT_EQ(work.error, c.code) << c.width << " x " << c.height;
  }
}

TEST(PlaceableHeader, EncodesTheKeyBoxAndAChecksumThatZeroesTheWords) {
  PlaceableHeader header;
  header.left = -5;
  header.top = 2;
  header.right = 1575;
  header.bottom = 1181;
  header.units_per_inch = 1000;
  uint8_t bytes[kPlaceableHeaderBytes];
  EncodePlaceableHeader(header, bytes);
  EXPECT_EQ(Bytes(bytes, bytes + 4), (Bytes{0xD7, 0xCD, 0xC6, 0x9A}));
  uint16_t all = 0;
  for (size_t i = 0; i < kPlaceableHeaderBytes; i += 2) all ^= static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8);
  EXPECT_EQ(all, 0);
  ASSERT_TRUE(HasPlaceableKey(bytes, sizeof bytes));
  const PlaceableHeader back = DecodePlaceableHeader(bytes);
  EXPECT_EQ(back.left, -5);
  EXPECT_EQ(back.bottom, 1181);
  EXPECT_EQ(back.units_per_inch, 1000);
}

TEST(PlaceableHeader, SizesThePictureAndRefusesBoxesNoBitmapCanHave) {
  struct Case {
    int16_t left, top, right, bottom;
    uint16_t inch;
    int error, extent_x, extent_y, width, height;
  } cases[] = {
      // 3175 x 2116 hundredths of a millimetre; the factor lies just below 1 / 2540.
      {0, 0, 120, 80, 96, kImageOk, 3175, 2116, 119, 79},
      {0, 0, 1440, 960, 1440, kImageOk, 2540, 1693, 95, 63},
      {10, 10, 10, 50, 96, kImageNotMetafile, 0, 0, 0, 0},
      {0, 50, 100, 10, 96, kImageNotMetafile, 0, 0, 0, 0},
      {0, 0, 120, 80, 0, kImageNotMetafile, 0, 0, 0, 0},
      {0, 0, 32767, 32767, 1, kImageNoMemory, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    PlaceableHeader header;
    header.left = c.left;
    header.top = c.top;
    header.right = c.right;
    header.bottom = c.bottom;
    header.units_per_inch = c.inch;
    const PlaceableSize size = SizePlaceablePicture(header, 96, 96);
    SCOPED_TRACE(::testing::Message() << c.right << " x " << c.bottom << " at " << c.inch);
    EXPECT_EQ(size.error, c.error);
    if (c.error != kImageOk) continue;
    EXPECT_EQ(size.extent_x, c.extent_x);
    EXPECT_EQ(size.extent_y, c.extent_y);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
  }
}

Bytes MetaHeader(uint16_t type, uint16_t words, uint32_t size_words) {
  return {static_cast<uint8_t>(type), 0, static_cast<uint8_t>(words), 0, 0, 3,
          static_cast<uint8_t>(size_words), static_cast<uint8_t>(size_words >> 8), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

TEST(MetaHeader, TakesOnlyAWholeMetafile) {
  Bytes whole = MetaHeader(1, 9, 12);
  whole.insert(whole.end(), {3, 0, 0, 0, 0, 0});  // META_EOF
  EXPECT_EQ(CheckMetaHeader(whole.data(), whole.size()), kImageOk);
  const Bytes disk = MetaHeader(2, 9, 9);
  EXPECT_EQ(CheckMetaHeader(disk.data(), disk.size()), kImageOk);
  const Bytes cut = MetaHeader(1, 9, 12);
  EXPECT_EQ(CheckMetaHeader(cut.data(), cut.size()), kImageReadFailed);
  EXPECT_EQ(CheckMetaHeader(cut.data(), 17), kImageNotMetafile);
  const Bytes wrong_type = MetaHeader(3, 9, 9), wrong_words = MetaHeader(1, 8, 9), too_small = MetaHeader(1, 9, 4);
  for (const Bytes* b : {&wrong_type, &wrong_words, &too_small})
    EXPECT_EQ(CheckMetaHeader(b->data(), b->size()), kImageNotMetafile);
}

}  // namespace
