// Source lines read through a reader, and the reader's output tables for a read.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frames/frame_record_init.h"
#include "records/defaults_block.h"
#include "session/source_lines.h"
#include "tone/tone_engine_state.h"

namespace {

// A reader without a file whose samples tell where they were read:
// (line x 16 + channel x 4 + column) in the byte or word of each sample.
class FakeReader : public ImageFileReader {
 public:
  FakeReader(bool highBit, uint16_t depth) : ImageFileReader(""), highBit_(highBit) { outputDepth_ = depth; }

  int16_t ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer, int32_t* count) override {
    if (line == failLine) return 215;
    for (int32_t x = 0; x < *count; ++x) {
      const uint32_t value = line * 16 + channel * 4 + firstColumn + x;
      if (outputDepth_ == 16) {
        static_cast<uint16_t*>(buffer)[x] = static_cast<uint16_t>(value);
      } else {
        static_cast<uint8_t*>(buffer)[x] = static_cast<uint8_t>(value);
      }
    }
    return 0;
  }
  bool IsHighBitDepth() override { return highBit_; }
  const std::vector<uint8_t>& Table(int channel) const { return outputTables_[channel]; }

  uint32_t failLine = 0;

 private:
  bool highBit_;
};

class SourceLinesTest : public testing::Test {
 protected:
  void SetUp() override {
    std::memset(&defaults_, 0, sizeof defaults_);
    SetDefault(defaults_, kDefaultGammaReflective, 1.8);
    SetDefault(defaults_, kDefaultGammaTransparency, 1.8);
    SetDefault(defaults_, kDefaultZirGamma, 1.0);
    SetDefault<int16_t>(defaults_, kDefaultToneOutputHigh, 256);
    SetDefault<int16_t>(defaults_, kDefaultToneEndHigh, 256);
    SetDefault<int16_t>(defaults_, kDefaultInputCmsMode, 1);
    FrameInitInputs inputs = {};
    inputs.defaults = &defaults_;
    inputs.scanAreaWidth = 1.0;
    inputs.scanAreaHeight = 1.0;
    std::memset(&frame_, 0, sizeof frame_);
    InitFrameRecordWith(&frame_, true, inputs);
    framePointer_ = &frame_;
    BindToneEngine({&framePointer_, &defaults_, &lightSource_});
    gSourceLineRead = SourceLineRead();
  }
  void TearDown() override { gSourceLineRead = SourceLineRead(); }

  DefaultsBlock defaults_;
  FrameRecord frame_;
  FrameRecord* framePointer_ = nullptr;
  uint8_t lightSource_ = 0;
};

TEST_F(SourceLinesTest, EightBitColourLinesHoldGreenRedBlue) {
  FakeReader reader(false, 8);
  gSourceLineRead.reader = &reader;
  gSourceLineRead.left = 2;
  gSourceLineRead.top = 10;
  gSourceLineRead.linesRead = 3;
  std::vector<uint8_t> lines(2 * 3 * 2);
  ASSERT_TRUE(ReadSourceLines(lines.data(), 2, 2, 3));
  // Rows 10 + 3 + 0 + 1 = 14 and 15, from column 2.
  const std::vector<uint8_t> expected = {14 * 16 + 4 + 2, 14 * 16 + 4 + 3, 14 * 16 + 2, 14 * 16 + 3,
                                         14 * 16 + 8 + 2, 14 * 16 + 8 + 3, 15 * 16 + 4 + 2, 15 * 16 + 4 + 3,
                                         15 * 16 + 2, 15 * 16 + 3, 15 * 16 + 8 + 2, 15 * 16 + 8 + 3};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(gSourceLineRead.linesRead, 5u);
}

TEST_F(SourceLinesTest, SixteenBitColourLinesHoldRedGreenBlue) {
  FakeReader reader(true, 16);
  gSourceLineRead.reader = &reader;
  gSourceLineRead.bitsPerSample = 16;
  std::vector<uint16_t> lines(3);
  ASSERT_TRUE(ReadSourceLines(lines.data(), 1, 1, 3));
  EXPECT_EQ(lines, (std::vector<uint16_t>{16, 20, 24}));
}

TEST_F(SourceLinesTest, GreyLinesReadTheChosenChannel) {
  FakeReader reader(false, 8);
  gSourceLineRead.reader = &reader;
  gSourceLineRead.greyChannel = 2;
  std::vector<uint8_t> lines(2);
  ASSERT_TRUE(ReadSourceLines(lines.data(), 2, 1, 1));
  EXPECT_EQ(lines, (std::vector<uint8_t>{16 + 8, 32 + 8}));
  gSourceLineRead.bitsPerSample = 1;
  lines.assign(2, 0);
  EXPECT_TRUE(ReadSourceLines(lines.data(), 2, 1, 1)) << "line-art reads deliver nothing";
  EXPECT_EQ(lines, (std::vector<uint8_t>{0, 0}));
}

TEST_F(SourceLinesTest, NoReaderSucceedsAndAFailingReadStops) {
  uint8_t line[3] = {};
  EXPECT_TRUE(ReadSourceLines(line, 1, 1, 3));
  FakeReader reader(false, 8);
  reader.failLine = 2;
  gSourceLineRead.reader = &reader;
  std::vector<uint8_t> lines(6);
  EXPECT_FALSE(ReadSourceLines(lines.data(), 2, 1, 3));
  EXPECT_EQ(gSourceLineRead.linesRead, 0u);
}

TEST_F(SourceLinesTest, SixteenBitReadRemovesTheOutputTables) {
  FakeReader reader(true, 16);
  reader.SetOutputTable(std::vector<uint8_t>(16384, 1), 0);
  reader.SetOutputTable(std::vector<uint8_t>(16384, 1), 2);
  frame_.bitsPerChannel = 16;
  const std::vector<uint16_t>* gamma[4] = {};
  const uint32_t bits[4] = {};
  ASSERT_TRUE(PrepareSourceLines(&reader, &frame_, gamma, bits));
  for (int c = 0; c < 3; ++c) EXPECT_TRUE(reader.Table(c).empty()) << c;
}

TEST_F(SourceLinesTest, EightBitSourceGetsByteTablesPerChannel) {
  FakeReader reader(false, 8);
  frame_.colorMode = kColorModeRgb;
  frame_.bitsPerChannel = 8;
  ASSERT_TRUE(PrepareSourceLines(&reader, &frame_, nullptr, nullptr));
  for (int c = 0; c < 3; ++c) {
    ASSERT_EQ(reader.Table(c).size(), 256u) << c;
    // A neutral curve at the files' own gamma reads back as (nearly) the identity.
    for (int i = 0; i < 256; i += 15) EXPECT_NEAR(reader.Table(c)[i], i, 2) << "channel " << c << " entry " << i;
  }
  EXPECT_TRUE(reader.Table(3).empty());
}

TEST_F(SourceLinesTest, GreyFrameTableGoesToTheGreyChannel) {
  FakeReader reader(false, 8);
  frame_.colorMode = 0;
  frame_.bitsPerChannel = 8;
  gSourceLineRead.greyChannel = 1;
  ASSERT_TRUE(PrepareSourceLines(&reader, &frame_, nullptr, nullptr));
  EXPECT_TRUE(reader.Table(0).empty());
  EXPECT_EQ(reader.Table(1).size(), 256u);
}

TEST_F(SourceLinesTest, HighBitSourceNeedsFourteenBitGammaTables) {
  frame_.colorMode = kColorModeRgb;
  frame_.bitsPerChannel = 8;
  std::vector<uint16_t> gamma14(16384), gamma12(4096);
  for (size_t i = 0; i < gamma14.size(); ++i) gamma14[i] = static_cast<uint16_t>(i);
  for (size_t i = 0; i < gamma12.size(); ++i) gamma12[i] = static_cast<uint16_t>(i);

  FakeReader refused(true, 8);
  const std::vector<uint16_t>* mixed[4] = {&gamma14, &gamma14, &gamma12, nullptr};
  const uint32_t mixedBits[4] = {14, 14, 12, 0};
  EXPECT_FALSE(PrepareSourceLines(&refused, &frame_, mixed, mixedBits));
  for (int c = 0; c < 3; ++c) EXPECT_TRUE(refused.Table(c).empty()) << "nothing installed, channel " << c;

  FakeReader accepted(true, 8);
  const std::vector<uint16_t>* good[4] = {&gamma14, &gamma14, &gamma14, nullptr};
  const uint32_t goodBits[4] = {14, 14, 14, 0};
  ASSERT_TRUE(PrepareSourceLines(&accepted, &frame_, good, goodBits));
  for (int c = 0; c < 3; ++c) {
    ASSERT_EQ(accepted.Table(c).size(), 16384u) << c;
    EXPECT_EQ(accepted.Table(c).front(), 0);
    EXPECT_GE(accepted.Table(c).back(), 250);
  }
}

TEST_F(SourceLinesTest, HighBitGreyImageUsesTheFirstGammaTable) {
  frame_.colorMode = kColorModeRgb;
  frame_.bitsPerChannel = 8;
  gSourceLineRead.imagePlanes = 1;
  std::vector<uint16_t> gamma14(16384);
  for (size_t i = 0; i < gamma14.size(); ++i) gamma14[i] = static_cast<uint16_t>(i);
  const std::vector<uint16_t>* gamma[4] = {&gamma14, nullptr, nullptr, nullptr};
  const uint32_t bits[4] = {14, 0, 0, 0};
  FakeReader reader(true, 8);
  ASSERT_TRUE(PrepareSourceLines(&reader, &frame_, gamma, bits));
  EXPECT_EQ(reader.Table(2).size(), 16384u);
}

}  // namespace
