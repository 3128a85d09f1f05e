// The TIFF reader over readable fixtures: every sample against the generator's
// own values, in both byte orders, at every depth, from strips and planar tiles.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/dialogs/dialog_services.h"
#include "readers/file_thumbnail_source.h"
#include "readers/reader_errors.h"
#include "readers/tests/tiff_fixture.h"

namespace {

// Reads every line (top-down, then bottom-up) and compares each channel. Bottom-up
// reading reloads a band per line, which is slow for the megabyte-band files.
void ExpectImage(TiffReader* reader, const ExpectedImage& expected, uint16_t outputDepth, bool bottomUp = true) {
  for (int pass = 0; pass < (bottomUp ? 2 : 1); ++pass) {
    for (uint32_t i = 0; i < expected.height; ++i) {
      const uint32_t y = pass == 0 ? i : expected.height - 1 - i;
      for (uint32_t channel = 0; channel < expected.samplesPerPixel; ++channel) {
        std::vector<uint16_t> line = ReadLine(reader, y + 1, static_cast<int>(channel), outputDepth);
        ASSERT_EQ(line.size(), expected.width) << "line " << y + 1 << " channel " << channel;
        for (uint32_t x = 0; x < expected.width; ++x) {
          ASSERT_EQ(line[x], expected.At(x, y, channel)) << "x " << x << " line " << y + 1 << " channel " << channel;
        }
      }
    }
  }
}

struct GoodFile {
  const char* name;
  uint32_t bandBytes;  // small budgets make many bands
};

class TiffGoodFile : public ::testing::TestWithParam<GoodFile> {};

TEST_P(TiffGoodFile, DeliversTheGeneratorsSamples) {
  const ExpectedImage expected = LoadExpected(GetParam().name);
  ASSERT_GT(expected.width, 0u) << "fixture missing";
  auto reader = OpenTiff(GetParam().name);
  ASSERT_TRUE(reader->ImageReaderIsOpen());
  ImageFileInfo info;
  ASSERT_EQ(reader->ReadHeader(&info), 0);
  EXPECT_EQ(info.width, expected.width);
  EXPECT_EQ(info.height, expected.height);
  EXPECT_EQ(info.samplesPerPixel, expected.samplesPerPixel);
  EXPECT_EQ(info.bitsPerSample, expected.bitsPerSample);
  EXPECT_EQ(reader->IsHighBitDepth(), expected.bitsPerSample > 8);
  const uint16_t depth = expected.bitsPerSample == 16 ? 16 : 8;
  reader->SetOutputDepth(depth);  // 16: the raw samples, no gamma mapping
  ASSERT_EQ(reader->StartReading(GetParam().bandBytes), 0);
  ExpectImage(reader.get(), expected, depth, expected.width * expected.height < 100000);
  reader->FinishReading();
}

INSTANTIATE_TEST_SUITE_P(
    Files, TiffGoodFile,
    ::testing::Values(GoodFile{"grey8_le", 0}, GoodFile{"grey8_be", 100}, GoodFile{"grey8_wide", 1000},
                      GoodFile{"rgb8_le", 200}, GoodFile{"rgb8_be_short_offsets", 0}, GoodFile{"rgba8_le", 150},
                      GoodFile{"grey16_le", 0}, GoodFile{"grey16_be", 200}, GoodFile{"rgb16_le", 1000},
                      GoodFile{"zir48_be", 3000}, GoodFile{"grey1_le", 0}, GoodFile{"grey2_be", 10},
                      GoodFile{"grey4_le", 0}, GoodFile{"rgb4_be", 0}, GoodFile{"single_strip_no_counts", 0},
                      GoodFile{"orientation8", 0}, GoodFile{"tiled_rgb8", 0}, GoodFile{"tiled_rgb16_be", 0},
                      GoodFile{"tiled_grey8", 0}, GoodFile{"tiled_big_tiles", 0}, GoodFile{"tiled_two_bands", 0},
                      GoodFile{"tiffcp_tiled_rgb8", 0}, GoodFile{"tiffcp_rgb16_be", 500}),
    [](const ::testing::TestParamInfo<GoodFile>& info) { return std::string(info.param.name); });

TEST(TiffReader, SixteenBitSamplesAtDepthEightAreTheirHighBytesThroughTheNeutralGamma) {
  for (const char* name : {"grey16_be", "zir48_be", "tiled_rgb16_be"}) {
    const ExpectedImage expected = LoadExpected(name);
    auto reader = OpenTiff(name);
    ASSERT_EQ(reader->ReadHeader(nullptr), 0);
    ASSERT_EQ(reader->StartReading(0), 0);
    for (uint32_t y = 0; y < expected.height; ++y) {
      for (uint32_t channel = 0; channel < expected.samplesPerPixel; ++channel) {
        std::vector<uint16_t> line = ReadLine(reader.get(), y + 1, static_cast<int>(channel), 8);
        ASSERT_EQ(line.size(), expected.width);
        for (uint32_t x = 0; x < expected.width; ++x) ASSERT_EQ(line[x], expected.At(x, y, channel) >> 8) << name;
      }
    }
  }
}

TEST(TiffReader, HeaderResolutionAndTexts) {
  ImageFileInfo info;
  auto scan = OpenTiff("zir48_be");
  ASSERT_EQ(scan->ReadHeader(&info), 0);
  EXPECT_EQ(info.xResolution, 762u) << "300 pixels per centimetre";
  EXPECT_EQ(info.yResolution, 381u) << "600/4 pixels per centimetre";
  EXPECT_STREQ(info.documentName, "Scan 0042");
  EXPECT_STREQ(info.artist, "Ab") << "a text of up to four bytes sits in the entry itself";

  auto plain = OpenTiff("grey8_le");
  ASSERT_EQ(plain->ReadHeader(&info), 0);
  EXPECT_EQ(info.xResolution, 72u);
  EXPECT_EQ(info.yResolution, 72u);
  EXPECT_STREQ(info.documentName, "");

  auto zeroDenominator = OpenTiff("resolution_zero_denominator");
  ASSERT_EQ(zeroDenominator->ReadHeader(&info), 0);
  EXPECT_EQ(info.xResolution, 72u);
}

TEST(TiffReader, ReadLineSamplesClipsAndRefuses) {
  const ExpectedImage wide = LoadExpected("grey8_wide");  // 150 x 4
  auto reader = OpenTiff("grey8_wide");
  int32_t count = 10;
  uint8_t buffer[400];
  EXPECT_EQ(reader->ReadLineSamples(1, 0, 0, buffer, &count), kErrGeneralData) << "before StartReading";
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  ASSERT_EQ(reader->StartReading(0), 0);

  std::vector<uint16_t> tail = ReadLine(reader.get(), 2, 0, 8, 100, 200);
  ASSERT_EQ(tail.size(), 50u);
  for (uint32_t k = 0; k < 50; ++k) EXPECT_EQ(tail[k], wide.At(100 + k, 1, 0));
  EXPECT_EQ(ReadLine(reader.get(), 2, 2, 8), ReadLine(reader.get(), 2, 0, 8)) << "grey files deliver channel 0";

  struct Refusal {
    uint32_t line, firstColumn;
    int channel;
    int32_t count;
  };
  for (const Refusal& r : {Refusal{0, 0, 0, 10}, Refusal{5, 0, 0, 10}, Refusal{1, 150, 0, 10},
                           Refusal{1, 0, 0, 0}, Refusal{1, 0, 0, -3}}) {
    count = r.count;
    EXPECT_EQ(reader->ReadLineSamples(r.line, r.firstColumn, r.channel, buffer, &count), kErrGeneralData)
        << "line " << r.line << " column " << r.firstColumn << " count " << r.count;
  }

  auto rgb = OpenTiff("rgb8_le");
  ASSERT_EQ(rgb->ReadHeader(nullptr), 0);
  ASSERT_EQ(rgb->StartReading(0), 0);
  count = 5;
  EXPECT_EQ(rgb->ReadLineSamples(1, 0, 3, buffer, &count), kErrGeneralData) << "no fourth channel in RGB";
  EXPECT_EQ(rgb->ReadLineSamples(1, 0, -1, buffer, &count), kErrGeneralData);
}

TEST(TiffReader, GreyOutputDeliversTheMeanOfThreeSamples) {
  for (const char* name : {"rgb8_le", "rgb16_le"}) {
    const ExpectedImage expected = LoadExpected(name);
    const uint16_t depth = expected.bitsPerSample == 16 ? 16 : 8;
    auto reader = OpenTiff(name);
    ASSERT_EQ(reader->ReadHeader(nullptr), 0);
    reader->SetOutputDepth(depth);
    reader->SetGreyOutput(true);
    ASSERT_EQ(reader->StartReading(0), 0);
    const uint32_t y = expected.height / 2;
    std::vector<uint16_t> line = ReadLine(reader.get(), y + 1, 1, depth);
    ASSERT_EQ(line.size(), expected.width);
    for (uint32_t x = 0; x < expected.width; ++x) {
      const uint32_t sum = expected.At(x, y, 0) + expected.At(x, y, 1) + expected.At(x, y, 2);
      EXPECT_EQ(line[x], (sum + 1) / 3) << name << " x " << x;
    }
  }
}

TEST(TiffReader, OutputTablesMapSamples) {
  const ExpectedImage grey8 = LoadExpected("grey8_le");
  auto reader = OpenTiff("grey8_le");
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  std::vector<uint8_t> invert(256);
  for (int i = 0; i < 256; ++i) invert[i] = static_cast<uint8_t>(255 - i);
  reader->SetOutputTable(invert, 0);
  ASSERT_EQ(reader->StartReading(0), 0);
  std::vector<uint16_t> line = ReadLine(reader.get(), 3, 0, 8);
  for (uint32_t x = 0; x < grey8.width; ++x) EXPECT_EQ(line[x], 255 - grey8.At(x, 2, 0));

  // 16-bit data: the entry at sample >> 2, as a byte, or times 256 at output depth 16.
  const ExpectedImage grey16 = LoadExpected("grey16_le");
  std::vector<uint8_t> table(16384);
  for (int i = 0; i < 16384; ++i) table[i] = static_cast<uint8_t>(i * 7 % 251);
  for (uint16_t depth : {8, 16}) {
    auto wide = OpenTiff("grey16_le");
    ASSERT_EQ(wide->ReadHeader(nullptr), 0);
    wide->SetOutputDepth(depth);
    wide->SetOutputTable(table, 0);
    ASSERT_EQ(wide->StartReading(0), 0);
    line = ReadLine(wide.get(), 4, 0, depth);
    for (uint32_t x = 0; x < grey16.width; ++x) {
      // At depth 8 the band went through the identity gamma, which keeps the sample's top 14 bits.
      const uint32_t entry = table[grey16.At(x, 3, 0) >> 2];
      EXPECT_EQ(line[x], depth == 16 ? entry * 256 : entry) << "depth " << depth << " x " << x;
    }
  }
}

TEST(TiffReader, ShortDataGivesErrorForTheLinesItCuts) {
  const ExpectedImage expected = LoadExpected("truncated_data");  // data ends inside line 7
  auto reader = OpenTiff("truncated_data");
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  ASSERT_EQ(reader->StartReading(0), 0);
  for (uint32_t line = 1; line <= 6; ++line) {
    std::vector<uint16_t> samples = ReadLine(reader.get(), line, 0, 8);
    ASSERT_EQ(samples.size(), expected.width) << line;
    for (uint32_t x = 0; x < expected.width; ++x) EXPECT_EQ(samples[x], expected.At(x, line - 1, 0));
  }
  for (uint32_t line = 7; line <= 10; ++line) EXPECT_TRUE(ReadLine(reader.get(), line, 0, 8).empty()) << line;
  EXPECT_EQ(ReadLine(reader.get(), 2, 0, 8).size(), expected.width) << "earlier lines stay readable";
}

TEST(TiffReader, TileCachesBelongToTheirReader) {
  // The first reader keeps tiles of its first band cached while another tiled file
  // with smaller tiles and the same tile numbers is read.
  const ExpectedImage big = LoadExpected("tiled_two_bands");
  const ExpectedImage small = LoadExpected("tiled_rgb8");
  auto first = OpenTiff("tiled_two_bands");
  auto second = OpenTiff("tiled_rgb8");
  ASSERT_EQ(first->ReadHeader(nullptr), 0);
  ASSERT_EQ(second->ReadHeader(nullptr), 0);
  ASSERT_EQ(first->StartReading(0), 0);
  ASSERT_EQ(second->StartReading(0), 0);
  ExpectImage(second.get(), small, 8);
  ExpectImage(first.get(), big, 8, false);
  ASSERT_EQ(second->StartReading(0), 0);
  ExpectImage(second.get(), small, 8);
}

TEST(TiffReader, ReducedSubimageAndRawRead) {
  const ExpectedImage full = LoadExpected("with_reduced");
  const ExpectedImage small = LoadExpected("with_reduced_small");
  ImageFileInfo info;
  auto normal = OpenTiff("with_reduced");
  ASSERT_EQ(normal->ReadHeader(&info), 0);
  EXPECT_EQ(info.width, full.width) << "the full image is found by its subfile type";
  EXPECT_FALSE(normal->SupportsRawRead());
  ASSERT_EQ(normal->StartReading(0), 0);
  ExpectImage(normal.get(), full, 8);

  auto reduced = OpenTiff("with_reduced", true);
  ASSERT_EQ(reduced->ReadHeader(&info), 0);
  EXPECT_EQ(info.width, small.width);
  EXPECT_EQ(info.height, small.height);
  ASSERT_TRUE(reduced->SupportsRawRead());
  std::vector<uint8_t> raw(size_t{small.width} * small.height, 0xEE);
  reduced->ReadRawData(raw.data());
  for (uint32_t i = 0; i < raw.size(); ++i) EXPECT_EQ(raw[i], small.samples[i]) << i;

  auto withoutReduced = OpenTiff("grey8_le", true);
  ASSERT_EQ(withoutReduced->ReadHeader(nullptr), 0) << "no reduced subimage: the first IFD";
  EXPECT_FALSE(withoutReduced->SupportsRawRead());
}

TEST(TiffReader, ImageResourcesAreFoundById) {
  auto reader = OpenTiff("with_resources");
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  uint8_t name[256] = {};
  std::vector<uint8_t> thumb = reader->ReadImageResource(1033, name);
  EXPECT_EQ(std::string(thumb.begin(), thumb.end()), "thumbnail-data!");
  EXPECT_EQ(name[0], 5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), 5), "Thumb");
  std::vector<uint8_t> after = reader->ReadImageResource(1039, nullptr);
  EXPECT_EQ(std::string(after.begin(), after.end()), "x") << "walked past an odd-sized block";
  EXPECT_EQ(reader->ReadImageResource(1005, nullptr).size(), 16u);
  EXPECT_TRUE(reader->ReadImageResource(1036, nullptr).empty());

  auto none = OpenTiff("grey8_le");
  ASSERT_EQ(none->ReadHeader(nullptr), 0);
  EXPECT_TRUE(none->ReadImageResource(1033, nullptr).empty());
}

TEST(TiffReader, ReducedDrawingPicksSourcePixelsInBlueGreenRed) {
  const ExpectedImage expected = LoadExpected("with_resources");
  auto reader = OpenTiff("with_resources");
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  ASSERT_EQ(reader->StartReading(0), 0);
  const int32_t width = 4, height = 3, rowBytes = 16, pixelBytes = 3;
  std::vector<uint8_t> bits(rowBytes * height, 0);
  // Thumbnail present but not decodable yet: the preview comes from the lines.
  ASSERT_TRUE(reader->ReadPreviewLines(nullptr, bits.data(), width, height, rowBytes, pixelBytes));
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t sx = x * expected.width / width, sy = y * expected.height / height;
      const uint8_t* pixel = &bits[y * rowBytes + x * pixelBytes];
      EXPECT_EQ(pixel[0], expected.At(sx, sy, 2));
      EXPECT_EQ(pixel[1], expected.At(sx, sy, 1));
      EXPECT_EQ(pixel[2], expected.At(sx, sy, 0));
    }
  }
}

TEST(TiffReader, ReducedDrawingOfAGreyFileRepeatsItsOneChannel) {
  // A grey file with photometric 1 serves channels 1 and 2 from channel 0.
  const ExpectedImage expected = LoadExpected("grey8_le");
  auto reader = OpenTiff("grey8_le");
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  ASSERT_EQ(reader->StartReading(0), 0);
  std::vector<uint8_t> bits(3 * 2 * 2, 0);
  ASSERT_TRUE(reader->ReadLines(nullptr, bits.data(), 2, 2, 6, 3));
  EXPECT_EQ(bits[0], expected.At(0, 0, 0));
  EXPECT_EQ(bits[6 + 3], expected.At(18, 11, 0));

  auto unread = OpenTiff("grey8_le");
  EXPECT_FALSE(unread->ReadLines(nullptr, bits.data(), 2, 2, 6, 3)) << "no header read";
}

TEST(TiffReader, ANewHeaderEndsTheRunningRead) {
  auto reader = OpenTiff("with_reduced");
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  ASSERT_EQ(reader->StartReading(0), 0);
  ASSERT_EQ(ReadLine(reader.get(), 30, 2, 8).size(), 40u);
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  EXPECT_TRUE(ReadLine(reader.get(), 30, 2, 8).empty()) << "the band of the earlier header is gone";
  ASSERT_EQ(reader->StartReading(0), 0);
  EXPECT_EQ(ReadLine(reader.get(), 30, 2, 8).size(), 40u);
}

// A reader whose gamma tables curve (squares, a different scale per channel),
// so that the gamma step between the stored word and the output table shows.
class CurvedGammaTiff : public TiffReader {
 public:
  explicit CurvedGammaTiff(const std::string& name) : TiffReader((name + ".tif").c_str(), false) {}
  bool BuildGammaTables(uint32_t bits, int channels) override {
    for (int channel = 0; channel < channels; ++channel) SetGammaTable(CurvedTable(channel), bits, channel);
    return true;
  }
  static std::vector<uint16_t> CurvedTable(int channel) {
    std::vector<uint16_t> table(16384);
    for (uint32_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint16_t>(i * i / (16383u + 4000u * channel));
    return table;
  }
};

// The 16-bit sample a band held after the gamma step: the interpolation between table entries, rounded.
uint32_t CurvedSample(uint32_t sample, int channel) {
  static const std::vector<uint16_t> tables[3] = {CurvedGammaTiff::CurvedTable(0), CurvedGammaTiff::CurvedTable(1),
                                                  CurvedGammaTiff::CurvedTable(2)};
  const std::vector<uint16_t>& table = tables[channel];
  const uint32_t index = sample >> 2;
  if (index >= 16383) return uint32_t{table[16383]} << 2;
  const double weight = (sample & 3) / 4.0;
  return static_cast<uint32_t>((uint32_t{table[index]} << 2) * (1.0 - weight) +
                               (uint32_t{table[index + 1]} << 2) * weight + 0.5);
}

struct StoredWordCase {
  const char* name;
  uint16_t depth;    // output depth: 8 runs the gamma step, 16 does not
  bool tables;       // output tables installed
  bool greyOutput;   // the mean of three channels
};

class TiffStoredWords : public ::testing::TestWithParam<StoredWordCase> {};

// Sixteen-bit bands keep the file's words and deliver them through folded
// tables: every sample must be what the swap, the gamma step, the mean and
// the output table give one after another.
TEST_P(TiffStoredWords, DeliverWhatEachStepGivesInTurn) {
  const StoredWordCase& c = GetParam();
  const ExpectedImage expected = LoadExpected(c.name);
  ASSERT_GT(expected.width, 0u) << "fixture missing";
  CurvedGammaTiff reader(c.name);
  ASSERT_EQ(reader.ReadHeader(nullptr), 0);
  reader.SetOutputDepth(c.depth);
  reader.SetGreyOutput(c.greyOutput);
  ASSERT_EQ(reader.StartReading(200), 0);
  std::vector<uint8_t> tables[3];
  const uint32_t channels = c.greyOutput ? 1 : expected.samplesPerPixel;
  for (uint32_t channel = 0; channel < channels && c.tables; ++channel) {
    tables[channel].resize(16384);
    for (uint32_t i = 0; i < 16384; ++i) tables[channel][i] = static_cast<uint8_t>((i * (7 + 2 * channel)) % 253);
    reader.SetOutputTable(tables[channel], static_cast<int>(channel));
  }
  auto stepped = [&](uint32_t x, uint32_t y, uint32_t channel) {
    return c.depth == 8 ? CurvedSample(expected.At(x, y, channel), static_cast<int>(channel))
                        : uint32_t{expected.At(x, y, channel)};
  };
  for (uint32_t y = 0; y < expected.height; ++y) {
    for (uint32_t channel = 0; channel < channels; ++channel) {
      const std::vector<uint16_t> line = ReadLine(&reader, y + 1, static_cast<int>(channel), c.depth);
      ASSERT_EQ(line.size(), expected.width);
      for (uint32_t x = 0; x < expected.width; ++x) {
        const uint32_t value = c.greyOutput ? (stepped(x, y, 0) + stepped(x, y, 1) + stepped(x, y, 2) + 1) / 3
                                            : stepped(x, y, channel);
        uint32_t want = c.depth == 16 ? value : value >> 8;
        if (c.tables) want = c.depth == 16 ? tables[channel][value >> 2] * 256u : tables[channel][value >> 2];
        ASSERT_EQ(line[x], want) << "x " << x << " line " << y + 1 << " channel " << channel;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TiffStoredWords,
    ::testing::Values(StoredWordCase{"grey16_le", 8, true, false}, StoredWordCase{"grey16_be", 8, true, false},
                      StoredWordCase{"grey16_be", 8, false, false}, StoredWordCase{"grey16_be", 16, true, false},
                      StoredWordCase{"rgb16_le", 8, true, false}, StoredWordCase{"rgb16_le", 16, false, false},
                      StoredWordCase{"rgb16_le", 8, true, true}, StoredWordCase{"zir48_be", 8, true, false},
                      StoredWordCase{"zir48_be", 8, false, true}, StoredWordCase{"zir48_be", 16, true, true},
                      StoredWordCase{"tiled_rgb16_be", 8, true, false}),
    [](const ::testing::TestParamInfo<StoredWordCase>& info) {
      const StoredWordCase& c = info.param;
      return std::string(c.name) + "_depth" + std::to_string(c.depth) + (c.tables ? "_tables" : "") +
             (c.greyOutput ? "_grey" : "");
    });

TEST(TiffReader, LoopingDirectoryChainEnds) {
  auto reader = OpenTiff("ifd_loop");
  ImageFileInfo info;
  EXPECT_EQ(reader->ReadHeader(&info), 0) << "no IFD matches: the first one is taken";
  EXPECT_EQ(info.width, 6u);
}

}  // namespace

TEST(TiffReader, OpenDialogPreviewDrawsThroughTheInstalledReaders) {
  const ExpectedImage expected = LoadExpected("grey8_le");
  InstallReaderThumbnailSource();
  FileThumbnailSource* source = InstalledFileThumbnailSource();
  ASSERT_NE(source, nullptr);
  int32_t width = 0, height = 0;
  ASSERT_TRUE(source->Open("grey8_le.tif", 100, &width, &height));
  EXPECT_EQ(width, static_cast<int32_t>(expected.width));
  EXPECT_EQ(height, static_cast<int32_t>(expected.height));
  std::vector<uint8_t> bits(4 * 2 * 2, 0);
  EXPECT_TRUE(source->Draw(bits.data(), 2, 2, 8, 4));
  source->Close();
  EXPECT_EQ(bits[0], expected.At(0, 0, 0));
  EXPECT_EQ(bits[8 + 4], expected.At(expected.width / 2, expected.height / 2, 0));

  EXPECT_FALSE(source->Open("no_such_file.tif", 100, &width, &height));
  source->Close();
}
