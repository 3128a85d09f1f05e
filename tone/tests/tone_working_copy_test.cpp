// Loading the working copy from the current frame and storing the user's
// changes back into the selected channel blocks.
#include <gtest/gtest.h>

#include <cstring>

#include "tone/tests/tone_fixture.h"
#include "tone/tone_working_copy.h"

namespace {

TEST(ToneWorkingCopy, SingleChannelFrameCopiesTheMasterBlockBothWays) {
  ToneFixture fixture(1);
  ToneBlock& master = fixture.frame.tone[0];
  master.contrast = 17;
  master.fixedPointValues[2] = ToneFixedPointValue{40, 50};
  EXPECT_EQ(LoadToneWorkingCopy(), 1u);
  EXPECT_EQ(std::memcmp(&gToneWorkingCopy, &master, sizeof(ToneBlock)), 0);

  const ToneBlock before = gToneWorkingCopy;
  gToneWorkingCopy.gradationY[3] = 140;
  gToneWorkingCopy.fixedPointValues[0] = ToneFixedPointValue{1, 2};
  StoreToneWorkingCopy(before);
  EXPECT_EQ(std::memcmp(&gToneWorkingCopy, &master, sizeof(ToneBlock)), 0);
}

TEST(ToneWorkingCopy, AveragesTheSelectedChannelsTruncating) {
  ToneFixture fixture;
  const int16_t brightness[3] = {10, 11, 12};
  const int16_t contrast[3] = {1, 1, 2};
  const int16_t shift[3] = {-1, -1, -2};
  for (int c = 1; c <= 3; ++c) {
    fixture.frame.tone[c].brightness = brightness[c - 1];
    fixture.frame.tone[c].contrast = contrast[c - 1];
    fixture.frame.tone[c].midtoneShift = shift[c - 1];
    fixture.frame.tone[c].gammaFactor = c;
  }
  fixture.frame.tone[1].gradationY[3] = 129;
  EXPECT_EQ(LoadToneWorkingCopy(), kColorModeRgb);
  EXPECT_EQ(gToneWorkingCopy.brightness, 11);
  EXPECT_EQ(gToneWorkingCopy.contrast, 1);
  EXPECT_EQ(gToneWorkingCopy.midtoneShift, -1) << "toward zero, not toward minus infinity";
  EXPECT_EQ(gToneWorkingCopy.gradationY[3], 128);
  EXPECT_DOUBLE_EQ(gToneWorkingCopy.gammaFactor, 2.0);
}

struct ShiftModeCase {
  uint8_t mask;
  uint8_t modes[3];
  uint8_t expected;
};

class ToneWorkingCopyShiftMode : public ::testing::TestWithParam<ShiftModeCase> {};

TEST_P(ToneWorkingCopyShiftMode, IsTheMajorityWithTiesGivingOne) {
  ToneFixture fixture;
  for (int c = 1; c <= 3; ++c) fixture.frame.tone[c].shiftMode = GetParam().modes[c - 1];
  gToneChannelMask = GetParam().mask;
  LoadToneWorkingCopy();
  EXPECT_EQ(gToneWorkingCopy.shiftMode, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ToneWorkingCopyShiftMode,
                         ::testing::Values(ShiftModeCase{6, {1, 0, 1}, 1},      // one of two: tie
                                           ShiftModeCase{14, {1, 0, 0}, 0},     // one of three
                                           ShiftModeCase{14, {1, 1, 0}, 1},     // two of three
                                           ShiftModeCase{8, {1, 1, 0}, 0}));    // only the blue channel

TEST(ToneWorkingCopy, NoColourChannelSelectedGivesZeroAverages) {
  ToneFixture fixture;
  gToneChannelMask = kToneMaskMaster;
  LoadToneWorkingCopy();
  EXPECT_EQ(gToneWorkingCopy.inputHigh, 0);
  EXPECT_EQ(gToneWorkingCopy.shiftMode, 0);
}

TEST(ToneWorkingCopy, StoreAppliesTheChangeToEachSelectedChannel) {
  ToneFixture fixture;
  for (int c = 1; c <= 3; ++c) fixture.frame.tone[c].brightness = static_cast<int16_t>(9 + c);
  gToneChannelMask = 2 | 8;
  LoadToneWorkingCopy();
  const ToneBlock before = gToneWorkingCopy;
  gToneWorkingCopy.brightness = static_cast<int16_t>(gToneWorkingCopy.brightness + 5);
  StoreToneWorkingCopy(before);
  EXPECT_EQ(fixture.frame.tone[1].brightness, 15);
  EXPECT_EQ(fixture.frame.tone[2].brightness, 11) << "not selected";
  EXPECT_EQ(fixture.frame.tone[3].brightness, 17);
}

// One range field changed in the working copy by delta, with channel 1's
// block set up beforehand; the channel's resulting value of the field.
struct StoreRuleCase {
  const char* name;
  int16_t ToneBlock::*field;
  int delta;
  int16_t ToneBlock::*setupField;
  int16_t setupValue;
  int16_t expected;
};

class ToneWorkingCopyStoreRules : public ::testing::TestWithParam<StoreRuleCase> {};

TEST_P(ToneWorkingCopyStoreRules, KeepTheGapsAndTheScale) {
  const StoreRuleCase& c = GetParam();
  ToneFixture fixture;
  gToneChannelMask = 2;
  ToneBlock& channel = fixture.frame.tone[1];
  if (c.setupField) channel.*c.setupField = c.setupValue;
  LoadToneWorkingCopy();
  const ToneBlock before = gToneWorkingCopy;
  gToneWorkingCopy.*c.field = static_cast<int16_t>(gToneWorkingCopy.*c.field + c.delta);
  StoreToneWorkingCopy(before);
  EXPECT_EQ(channel.*c.field, c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToneWorkingCopyStoreRules,
    ::testing::Values(
        StoreRuleCase{"inputHigh stops 20 above inputLow", &ToneBlock::inputHigh, -200, &ToneBlock::inputLow, 60, 80},
        StoreRuleCase{"inputHigh stops at 256", &ToneBlock::inputHigh, 30, nullptr, 0, 256},
        StoreRuleCase{"inputLow stops 20 below inputHigh", &ToneBlock::inputLow, 250, nullptr, 0, 236},
        StoreRuleCase{"inputLow stops at 0", &ToneBlock::inputLow, -40, nullptr, 0, 0},
        StoreRuleCase{"outputLow stops at endHigh - 10", &ToneBlock::outputLow, 230, &ToneBlock::endHigh, 200, 190},
        StoreRuleCase{"outputHigh stays 10 above endLow", &ToneBlock::outputHigh, -250, &ToneBlock::endLow, 50, 60},
        StoreRuleCase{"endLow stops at outputHigh - 10", &ToneBlock::endLow, 230, &ToneBlock::outputHigh, 180, 170},
        StoreRuleCase{"endHigh stays 10 above outputLow", &ToneBlock::endHigh, -250, &ToneBlock::outputLow, 30, 40},
        StoreRuleCase{"endHigh stays 10 above endLow", &ToneBlock::endHigh, -300, nullptr, 0, 10}),
    [](const ::testing::TestParamInfo<StoreRuleCase>& info) { return "Case" + std::to_string(info.index); });

TEST(ToneWorkingCopy, StoredGradationPointsStayOnTheScaleAndRising) {
  ToneFixture fixture;
  gToneChannelMask = 2 | 4;
  fixture.frame.tone[1].gradationX[1] = 60;    // close to point 2 (64)
  fixture.frame.tone[2].gradationY[6] = 250;
  LoadToneWorkingCopy();
  const ToneBlock before = gToneWorkingCopy;
  gToneWorkingCopy.gradationX[2] = static_cast<uint16_t>(gToneWorkingCopy.gradationX[2] - 25);
  gToneWorkingCopy.gradationX[6] = static_cast<uint16_t>(gToneWorkingCopy.gradationX[6] + 20);
  gToneWorkingCopy.gradationY[0] = static_cast<uint16_t>(gToneWorkingCopy.gradationY[0] - 30);
  gToneWorkingCopy.gradationY[6] = static_cast<uint16_t>(gToneWorkingCopy.gradationY[6] + 10);
  StoreToneWorkingCopy(before);

  for (int c = 1; c <= 2; ++c) {
    const ToneBlock& block = fixture.frame.tone[c];
    EXPECT_EQ(block.gradationY[0], 0) << "channel " << c;
    EXPECT_LE(block.gradationY[6], 256) << "channel " << c;
    EXPECT_EQ(block.gradationX[6], 256) << "channel " << c;
    for (int p = 1; p < 7; ++p) EXPECT_GT(block.gradationX[p], block.gradationX[p - 1]) << "channel " << c;
  }
  EXPECT_EQ(fixture.frame.tone[2].gradationY[6], 256);
  EXPECT_EQ(fixture.frame.tone[2].gradationX[2], 39) << "an ordinary move is kept";
  EXPECT_EQ(fixture.frame.tone[1].gradationX[2], 61) << "just above the channel's point 1";
}

}  // namespace
