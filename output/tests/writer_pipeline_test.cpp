// The band pipeline of the writers: sizes, the order of the correction steps,
// short sources, the second pass's blocks, start failures and the descreen
// fields, over the raw test writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "output/image_file_writer.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "session/band_producer.h"
#include "session/band_services.h"
#include "session/device_layer.h"
#include "session/frame_geometry.h"
#include "session/tests/recording_band_services.h"
#include "state/data_source_state.h"

namespace {

struct SizeCase {
  const char* name;
  const char* image;
  int bits;
  bool rgb;
  uint32_t rows;
  uint8_t threeChannelOutput;
  int32_t bandRows;
  uint32_t sourceRowBytes, scanRowBytes;
  uint64_t imageBytes;
};

const SizeCase kSizes[] = {
    {"rgb8", "scan_rgb24", 8, true, 12, 1, 10, 9000, 9000, 3ull * 3000 * 12},
    {"grey16", "scan_grey16", 16, false, 20, 1, 30, 1200, 1200, 600ull * 20 * 2},
    {"rgb16", "scan_rgb48", 16, true, 10, 1, 10, 3840, 3840, 3ull * 640 * 10 * 2},
    {"lineart", "scan_small_grey8", 1, false, 0, 1, 30, 5, 4, 37ull * 23 / 8},
    // 40000 bytes a row: the band keeps within 1000000 bytes.
    {"grey8_wide", "scan_grey8", 8, false, 0, 1, 25, 40000, 40000, 40000ull * 30},
    // 8-bit colour frames are cut to even sizes: 36 x 22.
    {"cmyk8", "scan_small_rgb24", 8, true, 0, 0, 10, 108, 108, 4ull * 36 * 22},
};

class WriterSizeTest : public WriterTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(WriterSizeTest, BandAndImageSizes) {
  const SizeCase& c = GetParam();
  SetDefault(gDefaults, kDefaultThreeChannelOutput, c.threeChannelOutput);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  ASSERT_FALSE(Write(writer, OpenFrame(c.image, c.bits, c.rgb, c.rows)));
  EXPECT_EQ(writer.BandRows(), c.bandRows);
  EXPECT_EQ(writer.SourceRowBytes(), c.sourceRowBytes);
  EXPECT_EQ(writer.ScanRowBytes(), c.scanRowBytes);
  EXPECT_EQ(writer.ImageBytes(), c.imageBytes);
  const int32_t spp = c.threeChannelOutput ? (c.rgb ? 3 : 1) : 4;
  const uint64_t rowBytes = c.bits == 1 ? (uint64_t(writer.Columns()) + 7) / 8
                                        : uint64_t(writer.Columns()) * spp * c.bits / 8;
  EXPECT_EQ(ReadOutput(Scratch("out.raw")).size(), rowBytes * writer.Rows());
}

INSTANTIATE_TEST_SUITE_P(Kinds, WriterSizeTest, ::testing::ValuesIn(kSizes),
                         [](const ::testing::TestParamInfo<SizeCase>& info) { return info.param.name; });

using WriterBandTest = WriterTest;

// A 40000 x 40000 48-bit frame: its 9.6 GB are counted in 64 bits (the
// output is refused, so nothing is written).
TEST_F(WriterBandTest, SizesBeyondFourGigabytes) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  writer.failOpen = true;
  EXPECT_TRUE(Write(writer, OpenFrame("writer_huge_rgb48", 16, true)));
  EXPECT_EQ(writer.Columns(), 40000);
  EXPECT_EQ(writer.Rows(), 40000);
  EXPECT_EQ(writer.ImageBytes(), 9600000000ull);
  EXPECT_EQ(writer.ScanRowBytes(), 240000u);
  // Four rows of 240000 bytes fill a band.
  EXPECT_EQ(writer.BandRows(), 4);
}

// A descreen frame with more output rows than halved rows: its bands grow in
// proportion, still within 1000000 bytes, and the frame's scan size is back
// after the run.
TEST_F(WriterBandTest, EnlargingDescreenBandsStayBoundedAndTheScanSizeIsRestored) {
  FrameRecord frame = OpenFrame("scan_rgb24", 8, true);
  frame.filterMode = 2;
  frame.screenRulingCopy = static_cast<int16_t>(frame.outputResolution / 2);
  frame.outputResolution = static_cast<int16_t>(frame.outputResolution * 3 / 2);
  FrameRecord chosen = frame;
  ChooseScanResolution(&chosen);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  ASSERT_FALSE(Write(writer, frame));
  EXPECT_EQ(writer.Columns(), 4500);
  EXPECT_EQ(writer.Rows(), 180);
  EXPECT_GT(writer.BandRows(), 10);
  EXPECT_LE(int64_t{writer.BandRows()} * writer.SourceRowBytes(), int64_t{kBandBytes});
  EXPECT_EQ(gScanFrame.scanPixelWidth, chosen.scanPixelWidth);
  EXPECT_EQ(gScanFrame.scanPixelHeight, chosen.scanPixelHeight);
  EXPECT_EQ(ReadOutput(Scratch("out.raw")).size(), 4500u * 3 * 180);
}

// The source ends after 12 of 40 rows: the file still holds 40, the missing
// ones repeating the first row of the last band (row 10).
TEST_F(WriterBandTest, AShortSourceStillGivesTheDeclaredRows) {
  FrameRecord frame = OpenFrame("writer_short_rgb24", 8, true);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  Write(writer, frame);
  ASSERT_EQ(writer.Rows(), 40);
  const std::vector<uint8_t> bytes = ReadOutput(Scratch("out.raw"));
  const size_t rowBytes = size_t{frame.scanPixelWidth} * 3;
  ASSERT_EQ(bytes.size(), rowBytes * 40);
  for (size_t y = 12; y < 40; ++y)
    ASSERT_TRUE(std::equal(bytes.begin() + y * rowBytes, bytes.begin() + (y + 1) * rowBytes,
                           bytes.begin() + 10 * rowBytes))
        << "row " << y;
}

// The blocks of the second pass: at least 8 columns, whole bytes for 1-bit
// frames, taken from the end with flag D; whole rows without reorienting.
TEST_F(WriterBandTest, SecondPassBlocks) {
  struct Case {
    int bits;
    int row;
    bool through;
    uint32_t limit;
    std::vector<std::pair<int32_t, int32_t>> blocks;  // first column or row, and count
  };
  // 37 x 23: 598 bytes give 13 columns of 23 rows, 1-bit frames 8.
  const Case cases[] = {
      {8, 1, false, 598, {{0, 13}, {13, 13}, {26, 11}}},
      {8, 3, false, 598, {{26, 11}, {13, 13}, {0, 13}}},
      {1, 1, false, 598, {{0, 8}, {8, 8}, {16, 8}, {24, 8}, {32, 5}}},
      {1, 3, false, 598, {{32, 5}, {24, 8}, {16, 8}, {8, 8}, {0, 8}}},
      {8, 1, false, 16, {{0, 8}, {8, 8}, {16, 8}, {24, 8}, {32, 5}}},
      // Mirrored only: rows of the file, backwards with flag E.
      {8, 4, false, 2 * 37 * 10, {{20, 3}, {10, 10}, {0, 10}}},
      {8, 8, false, 2 * 37 * 10, {{0, 10}, {10, 10}, {20, 3}}},
      // No orientation: whole rows, up to the limit itself.
      {8, 0, true, 37 * 10, {{0, 10}, {10, 10}, {20, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + " bits, row " + std::to_string(c.row) + ", limit " + std::to_string(c.limit));
    FrameRecord frame = OpenFrame("scan_small_grey8", c.bits, false);
    frame.mirrorH = (c.row >> 3) & 1;
    frame.mirrorV = (c.row >> 2) & 1;
    frame.quarterTurns = c.row & 3;
    RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"), c.through, c.limit);
    ASSERT_FALSE(Write(writer, frame));
    std::vector<std::pair<int32_t, int32_t>> got;
    const bool columns = (c.row & 1) != 0;
    for (const CopyBlock& block : writer.blocks)
      got.emplace_back(columns ? block.firstColumn : block.firstRow, columns ? block.columns : block.rows);
    EXPECT_EQ(got, c.blocks);
  }
}

struct OrderCase {
  const char* name;
  const char* image;
  int bits;
  bool rgb;
  uint8_t bitDepthChoice;
  uint8_t filterMode;
  uint8_t selectiveColorMode;
  uint8_t negative;
  int16_t inputCms;
  int16_t outputCms;
  uint8_t threeChannelOutput;
  std::vector<std::string> calls;
};

// Two rows, one band: the sharpening stand-in finishes one of them, and the
// steps after it take that one.
const OrderCase kOrders[] = {
    {"rgb16", "scan_rgb48", 16, true, 0, 1, 1, 1, 1, 0, 1,
     {"selective16", "selective16", "sharpenA(2)", "selective16+region"}},
    {"grey16", "scan_grey16", 16, false, 0, 1, 0, 1, 1, 0, 1, {"sharpenB(2)"}},
    {"zir_reduction_only", "scan_rgb48", 16, true, 1, 1, 1, 1, 3, 4, 1, {}},
    {"rgb8_scanner_transform", "scan_rgb24", 8, true, 0, 1, 0, 1, 2, 0, 1,
     {"translate8", "translate8", "selective8", "selective8", "sharpenA(2)", "matrix8+region"}},
    {"rgb8_calibration_cube", "scan_rgb24", 8, true, 0, 4, 1, 0, 3, 0, 1,
     {"cube8", "cube8", "sharpenA(2)", "selective8+region"}},
    {"rgb8_separation_cmyk", "scan_rgb24", 8, true, 0, 0, 0, 0, 1, 3, 0,
     {"matrix8+region", "matrix8+region", "separate8", "separate8"}},
    {"rgb8_lab_sharpened_l", "scan_rgb24", 8, true, 0, 1, 0, 0, 1, 4, 1,
     {"matrix8+region", "matrix8+region", "lab8 signed", "sharpenB(2)"}},
    {"grey8", "scan_small_grey8", 8, false, 0, 1, 0, 0, 1, 0, 1, {"sharpenB(2)"}},
};

class WriterOrderTest : public WriterTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(WriterOrderTest, StepsInOrder) {
  const OrderCase& c = GetParam();
  SetBandServices(&RecordingBandServices());
  SetDefault(gDefaults, kDefaultNegativeMode, c.negative);
  SetDefault(gDefaults, kDefaultInputCmsMode, c.inputCms);
  SetDefault(gDefaults, kDefaultOutputCmsMode, c.outputCms);
  SetDefault(gDefaults, kDefaultThreeChannelOutput, c.threeChannelOutput);
  SetDefault(gDefaults, kDefaultSeparationTablesInUse, uint8_t{1});
  SetDefault(gDefaults, kDefaultZirOutputReduction, uint8_t{1});
  FrameRecord frame = OpenFrame(c.image, c.bits, c.rgb, 2);
  frame.bitDepthChoice = c.bitDepthChoice;
  frame.filterMode = c.filterMode;
  frame.selectiveColorMode = c.selectiveColorMode;
  frame.sharpenFlag = 0;  // one context row
  gRecordedCalls.clear();
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  ASSERT_FALSE(Write(writer, frame));
  EXPECT_EQ(gRecordedCalls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(DataKinds, WriterOrderTest, ::testing::ValuesIn(kOrders),
                         [](const ::testing::TestParamInfo<OrderCase>& info) { return info.param.name; });

// Reads of 10, 10 and 2 rows; the filter holds two rows back at the first and
// gives them at the last: the writes take its counts.
TEST_F(WriterBandTest, TheSharpeningCountDrivesTheWrites) {
  SetBandServices(&RecordingBandServices());
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  frame.filterMode = 1;
  frame.sharpenFlag = 1;  // two context rows
  gRecordedCalls.clear();
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  ASSERT_FALSE(Write(writer, frame));
  EXPECT_EQ(writer.processedRows, (std::vector<int32_t>{8, 10, 4}));
  int32_t regionRows = 0;
  for (const std::string& call : gRecordedCalls) regionRows += call == "matrix8+region";
  EXPECT_EQ(regionRows, 22);
}

using WriterFailureTest = WriterTest;

TEST_F(WriterFailureTest, NoOutputTellsOfTooLittleRoom) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  writer.failOpen = true;
  EXPECT_TRUE(Write(writer, OpenFrame("scan_small_rgb24", 8, true)));
  EXPECT_EQ(prompts.Asked(0).titleId, 100u);
  EXPECT_EQ(prompts.Asked(0).textId, 216u);
  EXPECT_EQ(prompts.Asked(0).title, "Fehler");
  EXPECT_FALSE(writer.Ended());
}

TEST_F(WriterFailureTest, AFailedStartJoinsTheDeviceText) {
  const FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  // The image goes away after it was opened as the device.
  const std::string copy = Scratch("gone.tif");
  {
    const std::vector<uint8_t> bytes = ReadOutput(Fixture("scan_small_rgb24.tif"));
    FileHandle file = CreateFileForWriting(copy.c_str());
    ASSERT_TRUE(WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size())));
    CloseFile(file);
  }
  ASSERT_TRUE(OpenImageDevice(copy.c_str()));
  ASSERT_TRUE(DeleteFileAt(copy.c_str()));
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  EXPECT_TRUE(Write(writer, frame));
  EXPECT_EQ(prompts.Asked(0).titleId, 100u);
  EXPECT_EQ(prompts.Asked(0).textId, 108u);
  EXPECT_EQ(prompts.Asked(0).text, "Fehler bei Scan Start." + system_->strings[gDeviceErrorWord]);
  EXPECT_NE(gDeviceErrorWord, 0);
  EXPECT_FALSE(writer.Ended());
}

TEST_F(WriterFailureTest, UnknownKindsFailAtOnce) {
  for (int16_t kind : {int16_t{0}, int16_t{4}, int16_t{-1}}) {
    uint8_t cancelled = 7;
    EXPECT_TRUE(WriteImageFile(kind, 1, 1, &cancelled)) << kind;
    EXPECT_EQ(cancelled, 7) << kind;
  }
}

TEST_F(WriterFailureTest, ProgressTitles) {
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  EXPECT_EQ(writer.TitleId(false, false), 16021u);
  EXPECT_EQ(writer.TitleId(true, false), 16016u);
  EXPECT_EQ(writer.TitleId(false, true), 16017u);
  EXPECT_EQ(writer.TitleId(true, true), 16017u);
}

}  // namespace
