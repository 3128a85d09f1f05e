// Embedded thumbnails (resources 1036 and 1033) of JPEG and PSD files,
// decoded with the 8-bit build and drawn into the caller's bitmap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "readers/jpeg/jpeg_thumbnail.h"
#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "readers/tests/test_bitmap.h"

namespace {

constexpr int32_t kWidth = 40;
constexpr int32_t kHeight = 30;

struct ThumbnailCase {
  const char* file;
  int red, green, blue;  // the colour the bitmap shows
};

class EmbeddedThumbnail : public ::testing::TestWithParam<ThumbnailCase> {};

TEST_P(EmbeddedThumbnail, IsDrawnInItsColourOrder) {
  const ThumbnailCase& c = GetParam();
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(c.file, 0, false);
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(reader->ReadHeader(nullptr), kReaderOk);
  TestBitmap bitmap = CreateTestBitmap(kWidth, kHeight);
  ASSERT_NE(bitmap.bits, nullptr);
  ASSERT_TRUE(reader->ReadPreviewLines(bitmap.handle, bitmap.bits, kWidth, kHeight, bitmap.rowBytes, 3));
  // One uniform colour: stretching and JPEG keep it within a few steps.
  for (auto [x, y] : {std::pair<int, int>{0, 0}, {kWidth / 2, kHeight / 2}, {kWidth - 1, kHeight - 1}}) {
    const uint8_t* pixel = bitmap.bits + y * bitmap.rowBytes + x * 3;
    EXPECT_LE(std::abs(pixel[2] - c.red), 4) << x << "," << y;
    EXPECT_LE(std::abs(pixel[1] - c.green), 4) << x << "," << y;
    EXPECT_LE(std::abs(pixel[0] - c.blue), 4) << x << "," << y;
  }
  DeleteTestBitmap(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Files, EmbeddedThumbnail,
                         ::testing::Values(ThumbnailCase{"thumb1036.jpg", 200, 40, 90},
                                           ThumbnailCase{"own_thumb1036.psd", 200, 40, 90},
                                           ThumbnailCase{"own_thumb1033.psd", 90, 40, 200}));

TEST(EmbeddedThumbnail, MissingOrDamagedThumbnailsDrawNothing) {
  // own_thumb_huge.psd claims 29540 x 11888 pixels: refused before anything is sized by it.
  for (const char* file : {"rgb8.jpg", "thumbbad.jpg", "own_rgb8_rle.psd", "own_thumb_huge.psd"}) {
    std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(file, 0, false);
    ASSERT_EQ(reader->ReadHeader(nullptr), kReaderOk) << file;
    TestBitmap bitmap = CreateTestBitmap(kWidth, kHeight);
    EXPECT_FALSE(reader->ReadThumbnailLines(bitmap.handle, bitmap.bits, kWidth, kHeight, bitmap.rowBytes, 3)) << file;
    DeleteTestBitmap(bitmap);
  }
}

TEST(EmbeddedThumbnail, PreviewFallsBackToTheLines) {
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader("own_rgb8_rle.psd", 0, false);
  ASSERT_EQ(reader->ReadHeader(nullptr), kReaderOk);
  ASSERT_EQ(reader->StartReading(0), kReaderOk);
  TestBitmap bitmap = CreateTestBitmap(kWidth, kHeight);
  ASSERT_TRUE(reader->ReadPreviewLines(bitmap.handle, bitmap.bits, kWidth, kHeight, bitmap.rowBytes, 3));
  // The ramp's blue falls from left to right.
  EXPECT_GT(bitmap.bits[0], bitmap.bits[(kWidth - 1) * 3]);
  DeleteTestBitmap(bitmap);
}

TEST(ThumbnailResource, TooShortOrNotJpegGivesNothing) {
  ThumbnailPixels pixels;
  EXPECT_FALSE(DecodeThumbnailResource(std::vector<uint8_t>(28, 0), false, &pixels));
  EXPECT_FALSE(DecodeThumbnailResource(std::vector<uint8_t>(100, 0x41), true, &pixels));
  EXPECT_EQ(pixels.width, 0u);
}

}  // namespace
