// The PSD reader over ImageMagick's files and our own: samples against the
// generator's ramp, header answers, damaged files, bands and resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "readers/psd/psd_reader.h"
#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "readers/tests/pnm_file.h"

namespace {

std::unique_ptr<ImageFileReader> Open(const char* file) {
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(file, 0, false);
  EXPECT_NE(dynamic_cast<PsdReader*>(reader.get()), nullptr);
  return reader;
}

// Every sample of the channel on the line, at the reader's output depth.
std::vector<int> Line(ImageFileReader& reader, uint32_t line, int channel, uint32_t width, int depth) {
  std::vector<uint16_t> words(width);
  std::vector<uint8_t> bytes(width);
  int32_t count = static_cast<int32_t>(width);
  void* buffer = depth == 16 ? static_cast<void*>(words.data()) : bytes.data();
  EXPECT_EQ(reader.ReadLineSamples(line, 0, channel, buffer, &count), kReaderOk);
  EXPECT_EQ(count, static_cast<int32_t>(width));
  return depth == 16 ? std::vector<int>(words.begin(), words.end()) : std::vector<int>(bytes.begin(), bytes.end());
}

struct PixelCase {
  const char* file;
  const char* reference;
  uint32_t bandBytes;
};

class PsdPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(PsdPixels, MatchTheGeneratorsRamp) {
  const PixelCase& c = GetParam();
  PnmImage ramp;
  ASSERT_TRUE(ReadPnm(c.reference, &ramp));
  std::unique_ptr<ImageFileReader> reader = Open(c.file);
  ImageFileInfo info;
  ASSERT_EQ(reader->ReadHeader(&info), kReaderOk);
  ASSERT_EQ(int(info.width), ramp.width);
  ASSERT_EQ(int(info.height), ramp.height);
  ASSERT_EQ(info.samplesPerPixel, ramp.channels);
  const int depth = ramp.maxval > 255 ? 16 : 8;
  ASSERT_EQ(info.bitsPerSample, depth);
  EXPECT_EQ(reader->IsHighBitDepth(), depth == 16);
  reader->SetOutputDepth(static_cast<uint16_t>(depth));
  ASSERT_EQ(reader->StartReading(c.bandBytes), kReaderOk);
  // Bottom-up, so that small bands reload on every line.
  for (uint32_t line = info.height; line >= 1; --line) {
    for (int channel = 0; channel < ramp.channels; ++channel) {
      std::vector<int> samples = Line(*reader, line, channel, info.width, depth);
      for (uint32_t x = 0; x < info.width; ++x) {
        size_t at = ((size_t{line} - 1) * info.width + x) * ramp.channels + channel;
        ASSERT_EQ(samples[x], ramp.samples[at]) << "line " << line << " channel " << channel << " column " << x;
      }
    }
  }
  reader->FinishReading();
}

INSTANTIATE_TEST_SUITE_P(
    Files, PsdPixels,
    ::testing::Values(PixelCase{"im_rgb8_rle.psd", "rgb8.ppm", 0}, PixelCase{"im_rgb8_raw.psd", "rgb8.ppm", 1000},
                      PixelCase{"im_grey8_rle.psd", "grey8.pgm", 1 << 20},
                      PixelCase{"im_rgb16_rle.psd", "rgb16.ppm", 0}, PixelCase{"im_rgb16_raw.psd", "rgb16.ppm", 3000},
                      PixelCase{"im_grey16_raw.psd", "grey16.pgm", 0}, PixelCase{"im_layers.psd", "rgb8.ppm", 0},
                      PixelCase{"own_rgb8_rle.psd", "rgb8.ppm", 0}, PixelCase{"own_rgb16_raw.psd", "rgb16.ppm", 0},
                      PixelCase{"own_grey16_rle_4ch.psd", "grey16.pgm", 500}));

struct HeaderCase {
  const char* file;
  int16_t id;
  uint32_t dpi;
};

class PsdHeaders : public ::testing::TestWithParam<HeaderCase> {};

// Every file gives its id; files that open are then read whole without harm.
TEST_P(PsdHeaders, GiveTheirIdAndReadSafely) {
  const HeaderCase& c = GetParam();
  std::unique_ptr<ImageFileReader> reader = Open(c.file);
  ImageFileInfo info{};
  ASSERT_EQ(reader->ReadHeader(&info), c.id);
  if (c.id != kReaderOk) {
    EXPECT_EQ(reader->StartReading(0), kErrGeneralData);
    return;
  }
  EXPECT_EQ(info.xResolution, c.dpi);
  EXPECT_EQ(info.yResolution, c.dpi);
  EXPECT_STREQ(info.documentName, "");
  ASSERT_EQ(reader->StartReading(4096), kReaderOk);
  for (uint32_t line = 1; line <= info.height; ++line) {
    for (int channel = 0; channel < info.samplesPerPixel; ++channel) Line(*reader, line, channel, info.width, 8);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, PsdHeaders,
    ::testing::Values(HeaderCase{"im_rgb8_rle.psd", kReaderOk, 300}, HeaderCase{"own_rgb8_rle.psd", kReaderOk, 72},
                      HeaderCase{"own_res1005_300.psd", kReaderOk, 300}, HeaderCase{"own_rgb16_raw.psd", kReaderOk, 150},
                      HeaderCase{"own_cmyk.psd", kErrBadPhotometric, 0},
                      HeaderCase{"own_depth32.psd", kErrBadBitsPerSample, 0},
                      HeaderCase{"own_depth1.psd", kErrBadBitsPerSample, 0},
                      HeaderCase{"own_width0.psd", kErrZeroWidth, 0}, HeaderCase{"own_height0.psd", kErrZeroHeight, 0},
                      HeaderCase{"own_fewchannels.psd", kErrGeneralData, 0},
                      HeaderCase{"own_hugeheight.psd", kErrGeneralData, 0},
                      HeaderCase{"own_hugewidth.psd", kErrGeneralData, 0},
                      HeaderCase{"own_wide30001.psd", kErrGeneralData, 0},
                      HeaderCase{"own_short_header.psd", kErrGeneralData, 0},
                      HeaderCase{"own_no_sections.psd", kErrOutOfMemory, 0},
                      HeaderCase{"own_truncated.psd", kReaderOk, 72}, HeaderCase{"own_badruns.psd", kReaderOk, 72},
                      HeaderCase{"missing.psd", kErrGeneralData, 0}));

TEST(PsdReader, RunsPastTheRowLeaveOnlyThatRowEmpty) {
  PnmImage ramp;
  ASSERT_TRUE(ReadPnm("rgb8.ppm", &ramp));
  std::unique_ptr<ImageFileReader> reader = Open("own_badruns.psd");
  ImageFileInfo info;
  ASSERT_EQ(reader->ReadHeader(&info), kReaderOk);
  ASSERT_EQ(reader->StartReading(0), kReaderOk);
  EXPECT_EQ(Line(*reader, 6, 0, info.width, 8), std::vector<int>(info.width, 0));
  std::vector<int> green = Line(*reader, 6, 1, info.width, 8);
  EXPECT_EQ(green[10], ramp.samples[(5 * info.width + 10) * 3 + 1]);
  std::vector<int> before = Line(*reader, 5, 0, info.width, 8);
  EXPECT_EQ(before[10], ramp.samples[(4 * info.width + 10) * 3]);
}

TEST(PsdReader, LineChannelAndCountRules) {
  std::unique_ptr<ImageFileReader> grey = Open("im_grey8_rle.psd");
  ImageFileInfo info;
  ASSERT_EQ(grey->ReadHeader(&info), kReaderOk);
  uint8_t buffer[100];
  int32_t count = 100;
  EXPECT_EQ(grey->ReadLineSamples(1, 0, 0, buffer, &count), kErrGeneralData) << "before StartReading";
  ASSERT_EQ(grey->StartReading(0), kReaderOk);
  EXPECT_EQ(Line(*grey, 3, 2, info.width, 8), Line(*grey, 3, 0, info.width, 8)) << "grey files answer channel 0";
  count = 100;
  ASSERT_EQ(grey->ReadLineSamples(1, 60, 0, buffer, &count), kReaderOk);
  EXPECT_EQ(count, int32_t(info.width) - 60);
  for (auto [line, column, n] : {std::tuple<uint32_t, uint32_t, int32_t>{0, 0, 10}, {info.height + 1, 0, 10},
                                 {1, info.width, 10}, {1, 0, 0}}) {
    count = n;
    EXPECT_EQ(grey->ReadLineSamples(line, column, 0, buffer, &count), kErrGeneralData) << line << " " << column;
  }

  std::unique_ptr<ImageFileReader> rgb = Open("im_rgb8_rle.psd");
  ASSERT_EQ(rgb->ReadHeader(&info), kReaderOk);
  ASSERT_EQ(rgb->StartReading(0), kReaderOk);
  count = 10;
  EXPECT_EQ(rgb->ReadLineSamples(1, 0, 3, buffer, &count), kErrGeneralData);
}

TEST(PsdReader, GreyOutputAndOutputTables) {
  PnmImage ramp;
  ASSERT_TRUE(ReadPnm("rgb8.ppm", &ramp));
  std::unique_ptr<ImageFileReader> reader = Open("own_rgb8_rle.psd");
  ImageFileInfo info;
  ASSERT_EQ(reader->ReadHeader(&info), kReaderOk);
  std::vector<uint8_t> inverse(256);
  for (int i = 0; i < 256; ++i) inverse[i] = static_cast<uint8_t>(255 - i);
  reader->SetOutputTable(inverse, 1);
  reader->SetGreyOutput(true);
  ASSERT_EQ(reader->StartReading(0), kReaderOk);
  std::vector<int> mean = Line(*reader, 7, 0, info.width, 8);
  std::vector<int> inverted = Line(*reader, 7, 1, info.width, 8);
  for (uint32_t x = 0; x < info.width; ++x) {
    const int* rgb = &ramp.samples[(6 * info.width + x) * 3];
    int grey = (rgb[0] + rgb[1] + rgb[2] + 1) / 3;
    ASSERT_EQ(mean[x], grey);
    ASSERT_EQ(inverted[x], 255 - grey);
  }
}

TEST(PsdReader, SixteenBitTablesAreIndexedByTheTopFourteenBits) {
  PnmImage ramp;
  ASSERT_TRUE(ReadPnm("rgb16.ppm", &ramp));
  std::unique_ptr<ImageFileReader> reader = Open("im_rgb16_rle.psd");
  ImageFileInfo info;
  ASSERT_EQ(reader->ReadHeader(&info), kReaderOk);
  std::vector<uint8_t> table(16384);
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i % 251);
  reader->SetOutputTable(table, 2);
  reader->SetOutputDepth(16);
  ASSERT_EQ(reader->StartReading(0), kReaderOk);
  std::vector<int> samples = Line(*reader, 4, 2, info.width, 16);
  for (uint32_t x = 0; x < info.width; ++x) {
    int source = ramp.samples[(3 * info.width + x) * 3 + 2];
    ASSERT_EQ(samples[x], ((source >> 2) % 251) * 256);
  }
}

TEST(PsdReader, ResourcesAndEmbeddedProfile) {
  std::unique_ptr<ImageFileReader> reader = Open("own_rgb16_raw.psd");
  ASSERT_EQ(reader->ReadHeader(nullptr), kReaderOk);
  uint8_t name[256] = {0xFF};
  std::vector<uint8_t> profile = reader->ReadImageResource(1039, name);
  ASSERT_EQ(profile.size(), 768u);
  EXPECT_EQ(profile[255], 255);
  EXPECT_EQ(profile[256], 0);
  EXPECT_EQ(name[0], 0);
  EXPECT_TRUE(reader->ReadImageResource(1033, nullptr).empty());
  EXPECT_TRUE(Open("own_short_header.psd")->ReadImageResource(1005, nullptr).empty());
}

}  // namespace

namespace {

// Every byte of the header, the sections and the byte-count table
// overwritten in turn: each file opens or gives an id, and reads safely.
TEST(PsdReader, OverwrittenBytesNeverReadOutOfBounds) {
  std::vector<uint8_t> good;
  FileHandle source = OpenFileForReading("own_rgb8_rle.psd");
  uint64_t size = 0;
  ASSERT_TRUE(GetFileSize(source, &size));
  good.resize(size);
  ASSERT_TRUE(ReadBytesAt(source, 0, good.data(), static_cast<uint32_t>(size)));
  CloseFile(source);
  const size_t sweep = std::min<size_t>(good.size(), 26 + 12 + 2 + 3 * 29 * 2 + 8);
  for (size_t at = 0; at < sweep; ++at) {
    std::vector<uint8_t> bytes = good;
    bytes[at] ^= 0xFF;
    FileHandle file = CreateFileForWriting("sweep.psd");
    ASSERT_TRUE(WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size())));
    CloseFile(file);
    PsdReader reader("sweep.psd", false);
    ImageFileInfo info;
    if (reader.ReadHeader(&info) != kReaderOk || reader.StartReading(0) != kReaderOk) continue;
    std::vector<uint8_t> line(info.width);
    for (uint32_t y = 1; y <= info.height; y += 1 + info.height / 8) {
      int32_t count = static_cast<int32_t>(info.width);
      EXPECT_EQ(reader.ReadLineSamples(y, 0, 0, line.data(), &count), kReaderOk) << at;
    }
  }
}

}  // namespace
