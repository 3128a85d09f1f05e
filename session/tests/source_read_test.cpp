// A rectangle of an RGB TIFF file read as source lines through the TIFF reader
// and passed through the resampling engine at the same size: every sample
// arrives from its own pixel and channel, whatever the band split.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "readers/reader_factory.h"
#include "session/resample.h"
#include "session/source_lines.h"

namespace {

const uint32_t kLeft = 3, kTop = 2, kWidth = 15, kHeight = 10;

uint16_t Expected16(uint32_t x, uint32_t y, uint32_t c) { return (2311 * x + 977 * y + 15013 * c) % 65536; }
uint8_t Expected8(uint32_t x, uint32_t y, uint32_t c) { return (7 * x + 13 * y + 50 * c) % 256; }

struct ReadCase {
  const char* file;
  uint16_t bits;
  uint32_t band;
  uint32_t split;
};

class SourceReadTest : public testing::TestWithParam<ReadCase> {
 protected:
  void TearDown() override {
    gSourceLineRead = SourceLineRead();
    ResampleTeardown();
  }

  // Reads the rectangle and returns its output rows (three planes each, red, green, blue).
  template <typename Sample>
  std::vector<Sample> ReadRectangle(uint32_t (*member)(const Sample*, Sample*, Sample*, uint32_t, uint32_t, uint32_t,
                                                       uint32_t, uint32_t, uint32_t)) {
    const ReadCase& c = GetParam();
    std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(c.file, 0, false);
    EXPECT_TRUE(reader && reader->ImageReaderIsOpen());
    if (!reader || !reader->ImageReaderIsOpen()) return {};
    reader->SetOutputDepth(c.bits);
    EXPECT_EQ(reader->ReadHeader(nullptr), 0);
    EXPECT_EQ(reader->StartReading(100000), 0);
    gSourceLineRead = SourceLineRead();
    gSourceLineRead.reader = reader.get();
    gSourceLineRead.left = kLeft;
    gSourceLineRead.top = kTop;
    gSourceLineRead.bitsPerSample = c.bits;
    // 8-bit lines arrive green, red, blue: the swap puts red first again.
    EXPECT_TRUE(ResampleSetup(kWidth, kWidth, kHeight, 1.0, 0, 0, 0, c.bits == 8 ? 1 : 0, 0, 8));
    std::vector<Sample> source(size_t{c.split} * 3 * kWidth);
    std::vector<Sample> queue(size_t{ResampleQueueLines()} * 3 * kWidth);
    std::vector<Sample> output(size_t{kHeight} * 3 * kWidth);
    uint32_t made = 0;
    uint32_t read = 0;
    while (made < kHeight) {
      const uint32_t wanted = std::min(c.band, kHeight - made);
      const uint32_t lines = std::min({ResampleLinesNeeded(wanted), c.split, kHeight - read});
      EXPECT_TRUE(ReadSourceLines(source.data(), lines, kWidth, 3));
      const uint32_t now = member(source.data(), queue.data(), output.data() + size_t{made} * 3 * kWidth, lines, 0,
                                  kWidth, made, wanted, kWidth);
      if (lines == 0 && now == 0) break;
      read += lines;
      made += now;
    }
    EXPECT_EQ(made, kHeight);
    EXPECT_EQ(gSourceLineRead.linesRead, kHeight);
    reader->FinishReading();
    return output;
  }
};

TEST_P(SourceReadTest, EverySampleComesFromItsPixelAndChannel) {
  const ReadCase& c = GetParam();
  if (c.bits == 16) {
    const std::vector<uint16_t> rows = ReadRectangle<uint16_t>(ResampleRgb16);
    ASSERT_EQ(rows.size(), size_t{kHeight} * 3 * kWidth);
    for (uint32_t y = 0; y < kHeight; ++y) {
      for (uint32_t ch = 0; ch < 3; ++ch) {
        for (uint32_t x = 0; x < kWidth; ++x) {
          ASSERT_EQ(rows[(y * 3 + ch) * kWidth + x], Expected16(x + kLeft, y + kTop, ch)) << x << "," << y << "," << ch;
        }
      }
    }
  } else {
    const std::vector<uint8_t> rows = ReadRectangle<uint8_t>(ResampleRgb8);
    ASSERT_EQ(rows.size(), size_t{kHeight} * 3 * kWidth);
    for (uint32_t y = 0; y < kHeight; ++y) {
      for (uint32_t ch = 0; ch < 3; ++ch) {
        for (uint32_t x = 0; x < kWidth; ++x) {
          ASSERT_EQ(rows[(y * 3 + ch) * kWidth + x], Expected8(x + kLeft, y + kTop, ch)) << x << "," << y << "," << ch;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Files, SourceReadTest,
                         testing::Values(ReadCase{"source16.tif", 16, 30, 60}, ReadCase{"source16.tif", 16, 3, 2},
                                         ReadCase{"source8.tif", 8, 30, 60}, ReadCase{"source8.tif", 8, 1, 1}));

}  // namespace
