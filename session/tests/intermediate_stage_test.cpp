// The 16-bit intermediate stage: which tables a frame gets and how rows pass them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "color/cube_services.h"
#include "frames/frame_record_init.h"
#include "records/defaults_block.h"
#include "session/intermediate_stage.h"
#include "tone/tone_engine_state.h"

namespace {

class IntermediateStageTest : public testing::Test {
 protected:
  void SetUp() override {
    std::memset(&defaults_, 0, sizeof defaults_);
    SetDefault(defaults_, kDefaultGammaReflective, 1.8);
    SetDefault(defaults_, kDefaultZirGamma, 1.0);
    SetDefault<int16_t>(defaults_, kDefaultToneOutputHigh, 256);
    SetDefault<int16_t>(defaults_, kDefaultToneEndHigh, 256);
    SetDefault<int16_t>(defaults_, kDefaultInputCmsMode, kInputColorNone);
    FrameInitInputs inputs = {};
    inputs.defaults = &defaults_;
    inputs.scanAreaWidth = 1.0;
    inputs.scanAreaHeight = 1.0;
    std::memset(&frame_, 0, sizeof frame_);
    InitFrameRecordWith(&frame_, true, inputs);
    frame_.colorMode = kColorModeRgb;
    frame_.bitsPerChannel = 8;
    framePointer_ = &frame_;
    BindToneEngine({&framePointer_, &defaults_, &lightSource_});
    ResetIntermediateState(1);
  }
  void TearDown() override { FreeIntermediateState(); }

  // Two rows of three planes of four samples.
  static std::vector<uint16_t> Rows() {
    std::vector<uint16_t> rows(24);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint16_t>(i * 2700 + 100);
    return rows;
  }

  DefaultsBlock defaults_;
  FrameRecord frame_;
  FrameRecord* framePointer_ = nullptr;
  uint8_t lightSource_ = 0;
};

TEST_F(IntermediateStageTest, ResetSetsTheFlagAndFreeSwitchesOff) {
  EXPECT_EQ(IsIntermediateOn(), 1);
  EXPECT_EQ(FreeIntermediateState(), 0);
  EXPECT_EQ(IsIntermediateOn(), 0);
  EXPECT_TRUE(BuildIntermediateTables(&frame_, 1.8)) << "nothing to build while off";
  EXPECT_TRUE(gIntermediate.outputTables8[0].empty());
}

TEST_F(IntermediateStageTest, GreyFrameHasOneOutputTableAndPassesRowsUnchanged) {
  frame_.colorMode = 0;
  ASSERT_TRUE(BuildIntermediateTables(&frame_, 1.8));
  EXPECT_EQ(gIntermediate.tableBits, 14);
  EXPECT_EQ(gIntermediate.outputTables8[0].size(), 16384u);
  EXPECT_TRUE(gIntermediate.outputTables8[1].empty());
  EXPECT_TRUE(gIntermediate.cube.empty());
  const std::vector<uint16_t> in = Rows();
  std::vector<uint16_t> out(in.size());
  ASSERT_TRUE(ApplyIntermediate16(in.data(), out.data(), 2, 4, 1, 4, 1, 4));
  EXPECT_EQ(out, in);
  std::vector<uint8_t> bytes(in.size());
  EXPECT_FALSE(ApplyIntermediateTo8(in.data(), bytes.data(), 2, 4, 1, 4, 1, 4, false));
}

TEST_F(IntermediateStageTest, ColourWithoutColourManagementHasNoCube) {
  ASSERT_TRUE(BuildIntermediateTables(&frame_, 1.8));
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(gIntermediate.inputTables[c].size(), 16384u);
    EXPECT_EQ(gIntermediate.outputTables8[c].size(), 16384u);
  }
  EXPECT_EQ(gIntermediate.sharedOutputTable.size(), 16384u);
  EXPECT_TRUE(gIntermediate.cube.empty());
  const std::vector<uint16_t> in = Rows();
  std::vector<uint16_t> out(in);
  ASSERT_TRUE(ApplyIntermediate16(out.data(), out.data(), 2, 4, 1, 4, 1, 4));
  EXPECT_EQ(out, in);
}

TEST_F(IntermediateStageTest, GreenFirstExchangesTheFirstTwoBytePlanes) {
  ASSERT_TRUE(BuildIntermediateTables(&frame_, 1.8));
  const std::vector<uint16_t> in = Rows();
  std::vector<uint8_t> straight(in.size()), greenFirst(in.size());
  ASSERT_TRUE(ApplyIntermediateTo8(in.data(), straight.data(), 2, 4, 1, 4, 1, 4, false));
  ASSERT_TRUE(ApplyIntermediateTo8(in.data(), greenFirst.data(), 2, 4, 1, 4, 1, 4, true));
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(greenFirst[row * 12 + x], straight[row * 12 + 4 + x]);
      EXPECT_EQ(greenFirst[row * 12 + 4 + x], straight[row * 12 + x]);
      EXPECT_EQ(greenFirst[row * 12 + 8 + x], straight[row * 12 + 8 + x]);
    }
  }
  // Each output byte is its channel's table entry at the sample's top 14 bits.
  EXPECT_EQ(straight[5], gIntermediate.outputTables8[1][in[5] >> 2]);
  std::vector<uint16_t> words(in.size());
  EXPECT_FALSE(ApplyIntermediateTo16(in.data(), words.data(), 2, 4, 3, 1, 4, 1, 4)) << "8-bit output";
}

TEST_F(IntermediateStageTest, ScannerProfilesBuildTheCubeAndRoundTripThroughTheGammas) {
  SetDefault<int16_t>(defaults_, kDefaultInputCmsMode, kInputColorScannerProfiles);
  frame_.bitsPerChannel = 16;
  ASSERT_TRUE(BuildIntermediateTables(&frame_, 1.8));
  EXPECT_EQ(gIntermediate.cube.size() * sizeof(double), 862488u);
  EXPECT_EQ(GetDefault(defaults_, kDefaultInputCmsMode), kInputColorScannerProfiles) << "mode restored";
  EXPECT_EQ(gIntermediate.outputTables16[2].size(), 16384u);
  // No scanner transform yet: the cube is the identity grid.
  EXPECT_EQ(gIntermediate.cube[3 * (kCubeEntries - 1)], 1.0);
  EXPECT_DOUBLE_EQ(gIntermediate.cube[3 * 1 + 2], 2048 / 65535.0);

  std::vector<uint16_t> in(3 * 256);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint16_t>(i * 85 + 40);
  std::vector<uint16_t> out(in.size());
  ASSERT_TRUE(ApplyIntermediate16(in.data(), out.data(), 1, 256, 1, 256, 1, 256));
  // Input gamma 1/1.8 and output gamma 1.8 undo each other up to the tables' 14 bits.
  for (size_t i = 16; i < in.size(); ++i) EXPECT_NEAR(out[i], in[i], 24) << i;

  std::vector<uint16_t> words(in.size());
  ASSERT_TRUE(ApplyIntermediateTo16(in.data(), words.data(), 1, 256, 3, 1, 256, 1, 256));
  EXPECT_EQ(words[300], gIntermediate.outputTables16[1][in[300] >> 2] << 2);
}

TEST_F(IntermediateStageTest, NullBuffersFail) {
  ASSERT_TRUE(BuildIntermediateTables(&frame_, 1.8));
  uint16_t row[12] = {};
  uint8_t bytes[12] = {};
  EXPECT_FALSE(ApplyIntermediate16(nullptr, row, 1, 4, 1, 4, 1, 4));
  EXPECT_FALSE(ApplyIntermediateTo8(nullptr, bytes, 1, 4, 1, 4, 1, 4, false));
  EXPECT_FALSE(ApplyIntermediateTo16(nullptr, row, 1, 4, 3, 1, 4, 1, 4));
  EXPECT_FALSE(BuildIntermediateTables(nullptr, 1.8));
}

}  // namespace
