// Units, the boolean option check, the tone end points and layout tables.
#include <gtest/gtest.h>

#include <cstring>

#include "records/frame_record.h"
#include "records/tone_block.h"
#include "state/data_source_state.h"
#include "ui/layout_table.h"
#include "ui/tone_end_points.h"
#include "ui/units.h"

namespace {

struct UnitCase {
  int unit;
  double perInch;
};

class Units : public testing::TestWithParam<UnitCase> {};

TEST_P(Units, FactorBothWays) {
  const UnitCase& c = GetParam();
  EXPECT_DOUBLE_EQ(ToUnits(2.0, c.unit, 300.0), 2.0 * c.perInch);
  EXPECT_DOUBLE_EQ(FromUnits(2.0 * c.perInch, c.unit, 300.0), 2.0);
}

INSTANTIATE_TEST_SUITE_P(PerInch, Units,
                         testing::Values(UnitCase{kUnitInches, 1.0}, UnitCase{kUnitCentimetres, 2.54},
                                         UnitCase{kUnitPicas, 6.0}, UnitCase{kUnitPoints, 72.0},
                                         UnitCase{kUnitPixels, 300.0}, UnitCase{9, 1.0}, UnitCase{-1, 1.0}));

TEST(UnitsEdge, PixelsWithoutAResolutionGiveZero) {
  EXPECT_EQ(FromUnits(150.0, kUnitPixels, 0.0), 0.0);
  EXPECT_EQ(ToUnits(1.5, kUnitPixels, 0.0), 0.0);
}

TEST(BoolOption, StoresOnlyZeroOrOneAndNeverFails) {
  uint8_t value = 7;
  EXPECT_FALSE(ValidateBoolOption(2, &value));
  EXPECT_EQ(value, 7);
  EXPECT_FALSE(ValidateBoolOption(1, &value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(ValidateBoolOption(0, &value));
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(ValidateBoolOption(-1, &value));
  EXPECT_EQ(value, 0);
}

ToneBlock Worked() {
  ToneBlock block;
  std::memset(&block, 0x11, sizeof block);
  return block;
}

void ExpectReset(const ToneBlock& b, bool contrastCleared) {
  EXPECT_EQ(b.inputLow, 0);
  EXPECT_EQ(b.outputLow, 0);
  EXPECT_EQ(b.midtoneShift, 0);
  EXPECT_EQ(b.endLow, 0);
  EXPECT_EQ(b.inputHigh, 256);
  EXPECT_EQ(b.outputHigh, 256);
  EXPECT_EQ(b.endHigh, 256);
  EXPECT_EQ(b.shiftMode, 0);
  for (const ToneFixedPointValue& v : b.fixedPointValues) EXPECT_TRUE(v.source == 0 && v.target == 0);
  EXPECT_EQ(b.contrast == 0, contrastCleared);
  EXPECT_EQ(b.brightness, 0x1111) << "other values stay";
  EXPECT_EQ(b.reserved59, 0x11);
}

TEST(ToneEndPoints, BlocksInUseByColourMode) {
  ResetDataSourceState();
  for (uint32_t colorMode : {0u, 2u}) {
    FrameRecord frame;
    std::memset(&frame, 0, sizeof frame);
    frame.colorMode = colorMode;
    for (ToneBlock& block : frame.tone) block = Worked();
    ToneBlock toneTemplate = Worked();
    ResetToneEndPoints(&toneTemplate, &frame);
    ExpectReset(toneTemplate, false);
    const bool rgb = colorMode == 2;
    for (int k = 0; k < 4; ++k) {
      const bool inUse = rgb ? k >= 1 : k == 0;
      if (inUse) {
        ExpectReset(frame.tone[k], false);
      } else {
        const ToneBlock untouched = Worked();
        EXPECT_EQ(std::memcmp(&frame.tone[k], &untouched, sizeof untouched), 0) << "block " << k;
      }
    }
  }
  gLightSourceFlag = 1;
  FrameRecord frame;
  std::memset(&frame, 0, sizeof frame);
  frame.tone[0] = Worked();
  ToneBlock toneTemplate = Worked();
  ResetToneEndPoints(&toneTemplate, &frame);
  ExpectReset(toneTemplate, true);
  ExpectReset(frame.tone[0], true);
  ResetDataSourceState();
}

// Three controls stacked: 10..30, 40..60, 70..90; a fourth beside the first.
class LayoutTableTest : public testing::Test {
 protected:
  void SetUp() override {
    table_[0] = {101, {10, 10, 110, 30}, {}};
    table_[1] = {102, {10, 40, 110, 60}, {}};
    table_[2] = {103, {10, 70, 110, 90}, {}};
    table_[3] = {104, {120, 10, 200, 30}, {}};
    table_[4] = {0, {0, 0, 5, 5}, {}};
    ResetLayoutTargets(table_, kCount);
  }
  UiRect Target(int32_t id) {
    UiRect r = {};
    EXPECT_TRUE(GetLayoutTarget(id, &r, table_, kCount));
    return r;
  }
  static constexpr int kCount = 5;
  LayoutEntry table_[kCount];
};

TEST_F(LayoutTableTest, LookUpIgnoresNonPositiveIds) {
  EXPECT_EQ(FindLayoutEntry(103, table_, kCount), 2);
  EXPECT_EQ(FindLayoutEntry(0, table_, kCount), -1);
  EXPECT_EQ(FindLayoutEntry(999, table_, kCount), -1);
  UiRect r = {};
  EXPECT_FALSE(GetLayoutTarget(-5, &r, table_, kCount));
}

TEST_F(LayoutTableTest, AdjustKeepsTheRectangleUpright) {
  AdjustLayoutTarget(101, 5, 5, -200, 10, table_, kCount);
  EXPECT_TRUE(Target(101) == (UiRect{15, 15, 15, 40}));
  AdjustLayoutTarget(101, 0, 50, 0, -100, table_, kCount);
  EXPECT_TRUE(Target(101) == (UiRect{15, 65, 15, 65}));
}

TEST_F(LayoutTableTest, HiddenTargetClosesItsGapOnce) {
  EXPECT_TRUE(HideLayoutTarget(102, table_, kCount));
  EXPECT_FALSE(HideLayoutTarget(102, table_, kCount));
  EXPECT_TRUE(Target(102) == (UiRect{10010, 40, 10110, 60}));
  EXPECT_TRUE(IsHiddenTarget(Target(102)));

  EXPECT_EQ(RelayoutAfterHide(102, table_, kCount), 30);
  EXPECT_TRUE(Target(103) == (UiRect{10, 40, 110, 60}));
  EXPECT_TRUE(Target(101) == (UiRect{10, 10, 110, 30})) << "above the hidden one";
  EXPECT_TRUE(Target(104) == (UiRect{120, 10, 200, 30}));
  EXPECT_EQ(RelayoutAfterHide(103, table_, kCount), 0) << "nothing below the last";
}

TEST_F(LayoutTableTest, PairHidesBothAndClosesEachGap) {
  HideLayoutPair(101, 102, table_, kCount);
  EXPECT_TRUE(IsHiddenTarget(Target(101)));
  EXPECT_TRUE(IsHiddenTarget(Target(102)));
  EXPECT_TRUE(Target(103) == (UiRect{10, 10, 110, 30}));
  // Hiding them again moves nothing.
  HideLayoutPair(101, 102, table_, kCount);
  HideLayoutPair(0, 102, table_, kCount);
  EXPECT_TRUE(Target(103) == (UiRect{10, 10, 110, 30}));
  EXPECT_EQ(Target(101).left, 10010);
}

}  // namespace
