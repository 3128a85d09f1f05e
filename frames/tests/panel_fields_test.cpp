// The frame panel's field arithmetic: resolution, screen ruling, quality
// factor and scale bounds, the original-size fields with swapped axes, the
// data size, the scan-type items and the filter kinds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/pstring.h"
#include "frames/panel_bounds.h"
#include "frames/panel_sizes.h"
#include "frames/scan_type.h"

namespace {

// Resolutions 100 to 400, scaled 50 to 200 percent: needed scan resolutions
// (resolution x percent) from 5000 to 80000.
const PanelLimits kLimits = {100.0, 400.0, 50, 200};

FrameRecord PanelFrame() {
  FrameRecord frame;
  std::memset(&frame, 0, sizeof frame);
  frame.version = kFrameRecordVersion;
  frame.bitsPerChannel = 8;
  frame.colorMode = 2;
  frame.qualityFactor = 2.0;
  frame.screenRuling = 150;
  frame.outputResolution = 300;
  frame.outputScaleX = 100.0f;
  frame.outputScaleY = 100.0f;
  frame.originX = 1.0;
  frame.originY = 2.0;
  frame.width = 3.0;
  frame.height = 4.0;
  return frame;
}

TypedNumber Typed(double value) { return TypedNumber{true, value}; }
const TypedNumber kNotANumber = {false, 0.0};

struct ResolutionCase {
  TypedNumber typed;
  double unitFactor;
  PanelLimits limits;
  int16_t resolution;
  int16_t ruling;
  bool pending;
};

class OutputResolutionEdit : public testing::TestWithParam<ResolutionCase> {};

TEST_P(OutputResolutionEdit, IsBoundedByTheListAndThePercents) {
  const ResolutionCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  EXPECT_EQ(ApplyOutputResolutionEdit(&frame, c.limits, c.typed, c.unitFactor), c.pending);
  EXPECT_EQ(frame.outputResolution, c.resolution);
  EXPECT_EQ(frame.screenRuling, c.ruling);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputResolutionEdit,
    testing::Values(ResolutionCase{Typed(360), 1.0, kLimits, 360, 180, false},
                    // lowered to 400 x 200 / 100, raised to (100 x 50 + 99) / 100
                    ResolutionCase{Typed(900), 1.0, kLimits, 800, 400, true},
                    ResolutionCase{Typed(10), 1.0, kLimits, 50, 25, true},
                    // the lower bound wins over the upper one
                    ResolutionCase{Typed(300), 1.0, PanelLimits{100.0, 400.0, 1000, 200}, 1000, 500, true},
                    // 100 dpcm is 254 dpi and shows as 100 again
                    ResolutionCase{Typed(100), 2.54, kLimits, 254, 127, false},
                    ResolutionCase{kNotANumber, 1.0, kLimits, 300, 150, true}));

struct RulingCase {
  TypedNumber typed;
  double unitFactor;
  int16_t ruling;
  int16_t resolution;
  bool pending;
};

class ScreenRulingEdit : public testing::TestWithParam<RulingCase> {};

TEST_P(ScreenRulingEdit, SetsTheResolutionThroughTheQualityFactor) {
  const RulingCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  EXPECT_EQ(ApplyScreenRulingEdit(&frame, kLimits, c.typed, c.unitFactor), c.pending);
  EXPECT_EQ(frame.screenRuling, c.ruling);
  EXPECT_EQ(frame.outputResolution, c.resolution);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreenRulingEdit,
    testing::Values(RulingCase{Typed(150), 1.0, 150, 300, false},
                    // 60 lpcm: trunc(60 x 2.54) lines per inch, shown as 60 again
                    RulingCase{Typed(60), 2.54, 152, 305, false},
                    // at most trunc(80000 / 200), at least ceil(5000 / 200)
                    RulingCase{Typed(500), 1.0, 400, 800, true}, RulingCase{Typed(10), 1.0, 25, 50, true},
                    RulingCase{kNotANumber, 1.0, 150, 300, true}));

struct QualityCase {
  const char* name;
  TypedNumber typed;
  int16_t ruling;
  float scaleX, scaleY;
  uint8_t bits;
  uint8_t filterKind;
  double stored;
  bool pending;
};

class QualityFactorEdit : public testing::TestWithParam<QualityCase> {};

TEST_P(QualityFactorEdit, IsCutToOneDecimalAndBounded) {
  const QualityCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  frame.screenRuling = c.ruling;
  frame.outputScaleX = c.scaleX;
  frame.outputScaleY = c.scaleY;
  frame.bitsPerChannel = c.bits;
  frame.filterMode = c.filterKind;
  frame.screenRulingCopy = 150;
  const bool pending = ApplyQualityFactorEdit(&frame, kLimits, c.typed);
  EXPECT_NEAR(frame.qualityFactor, c.stored, 1e-9);
  EXPECT_EQ(frame.outputResolution, static_cast<int16_t>(c.ruling * c.stored + 0.5));
  // 1.25 - 1.2 lies a hair either side of 0.05 by the arithmetic: not pinned.
  if (c.typed.value != 1.25) {
    EXPECT_EQ(pending, c.pending);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QualityFactorEdit,
    testing::Values(QualityCase{"cut", Typed(1.25), 150, 100, 100, 8, 0, 1.2, false},
                    QualityCase{"cut_close", Typed(1.23), 150, 100, 100, 8, 0, 1.2, false},
                    QualityCase{"cut_far", Typed(1.29), 150, 100, 100, 8, 0, 1.2, true},
                    QualityCase{"at_most_2_5", Typed(3.0), 150, 100, 100, 8, 0, 2.5, true},
                    QualityCase{"at_least_1", Typed(0.5), 150, 100, 100, 8, 0, 1.0, true},
                    // 5000 / (50 x 50)
                    QualityCase{"raised_to_lower", Typed(1.5), 50, 50, 100, 8, 0, 2.0, true},
                    // lower 5000 / (100 x 20) = 2.5, upper 80000 / (100 x 400) = 2.0
                    QualityCase{"upper_wins", Typed(1.5), 100, 20, 400, 8, 0, 2.0, true},
                    // descreening: 200 x 150 / (150 x 100)
                    QualityCase{"descreening", Typed(2.5), 150, 100, 100, 8, 2, 2.0, true},
                    QualityCase{"line_art", Typed(2.0), 150, 100, 100, 1, 0, 1.0, true},
                    QualityCase{"line_art_one", Typed(1.0), 150, 100, 100, 1, 0, 1.0, false},
                    QualityCase{"not_a_number", kNotANumber, 150, 100, 100, 8, 0, 2.0, true}),
    [](const testing::TestParamInfo<QualityCase>& info) { return std::string(info.param.name); });

struct ScaleCase {
  const char* name;
  int16_t resolution;
  float scaleX, scaleY;
  uint8_t filterKind;
  uint8_t followList;
  float wantX, wantY;
};

class ScaleBounds : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleBounds, MoveBothAxesByOneFactor) {
  const ScaleCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  frame.outputResolution = c.resolution;
  frame.outputScaleX = c.scaleX;
  frame.outputScaleY = c.scaleY;
  frame.filterMode = c.filterKind;
  frame.screenRulingCopy = 100;
  frame.scalesFollowList = c.followList;
  EXPECT_EQ(ClampScalesToResolutionRange(&frame, kLimits), c.wantX != c.scaleX || c.wantY != c.scaleY);
  EXPECT_FLOAT_EQ(frame.outputScaleX, c.wantX);
  EXPECT_FLOAT_EQ(frame.outputScaleY, c.wantY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScaleBounds,
    testing::Values(ScaleCase{"inside", 300, 100, 150, 0, 0, 100, 150},
                    // 400 x 300 needs 120000 of at most 80000
                    ScaleCase{"lowered", 400, 300, 150, 0, 0, 200, 100},
                    // 100 x 40 is below 5000
                    ScaleCase{"raised", 100, 40, 80, 0, 0, 50, 100},
                    // descreening: at most 200 x 100
                    ScaleCase{"descreening", 200, 200, 100, 3, 0, 100, 50},
                    ScaleCase{"following_the_list", 200, 70, 90, 0, 1, 200, 200}),
    [](const testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

TEST(PanelBounds, WithoutAResolutionListNothingIsBounded) {
  FrameRecord frame = PanelFrame();
  EXPECT_FALSE(ApplyOutputResolutionEdit(&frame, PanelLimits{}, Typed(5000), 1.0));
  EXPECT_EQ(frame.outputResolution, 5000);
  EXPECT_FALSE(ClampScalesToResolutionRange(&frame, PanelLimits{}));
  EXPECT_TRUE(ApplyOutputResolutionEdit(&frame, PanelLimits{}, Typed(1e12), 1.0));
  EXPECT_EQ(frame.outputResolution, 32767);
}

TEST(PanelSizes, SwappedAxesExchangeTheFields) {
  for (int id : {kOriginalWidthField, kScaleXField, kOutputWidthField}) {
    EXPECT_TRUE(FieldShowsWidth(id, false)) << id;
    EXPECT_FALSE(FieldShowsWidth(id, true)) << id;
  }
  for (int id : {kOriginalHeightField, kScaleYField, kOutputHeightField}) {
    EXPECT_FALSE(FieldShowsWidth(id, false)) << id;
    EXPECT_TRUE(FieldShowsWidth(id, true)) << id;
  }
  FrameRecord frame = PanelFrame();
  EXPECT_FALSE(ApplyOriginalSizeEdit(&frame, FieldShowsWidth(kOriginalWidthField, true), Typed(5.0), 1.0, 10.0));
  EXPECT_DOUBLE_EQ(frame.height, 5.0);
  EXPECT_DOUBLE_EQ(frame.width, 3.0);
  EXPECT_DOUBLE_EQ(frame.originY, 2.0);
}

struct OriginalSizeCase {
  TypedNumber typed;
  double unitFactor;
  double width;
  bool pending;
};

class OriginalSizeEdit : public testing::TestWithParam<OriginalSizeCase> {};

TEST_P(OriginalSizeEdit, StaysInsideTheScanArea) {
  const OriginalSizeCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  EXPECT_EQ(ApplyOriginalSizeEdit(&frame, true, c.typed, c.unitFactor, 8.0), c.pending);
  EXPECT_NEAR(frame.width, c.width, 1e-12);
  EXPECT_DOUBLE_EQ(frame.originX, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, OriginalSizeEdit,
                         testing::Values(OriginalSizeCase{Typed(5.0), 1.0, 5.0, false},
                                         OriginalSizeCase{Typed(12.7), 2.54, 5.0, false},
                                         // pixels at 300 dpi
                                         OriginalSizeCase{Typed(600), 300.0, 2.0, false},
                                         OriginalSizeCase{Typed(9.0), 1.0, 7.0, true},
                                         OriginalSizeCase{Typed(0.0), 1.0, 0.1, true},
                                         OriginalSizeCase{kNotANumber, 1.0, 3.0, true}));

double ClampTo120(float scale, bool, bool, const FrameRecord*) { return scale > 120.0f ? 120.0 : scale; }

struct ScaleEditCase {
  const char* name;
  TypedNumber typed;
  bool linked;
  PanelScaleLimiter clamp;
  uint8_t filterKind;
  uint8_t followList;
  float wantX, wantY;
  int16_t resolution;
  bool pending;
};

class ScaleEdit : public testing::TestWithParam<ScaleEditCase> {};

TEST_P(ScaleEdit, SetsTheAxisAsBoundAndLinked) {
  const ScaleEditCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  frame.outputScaleY = 150.0f;
  frame.filterMode = c.filterKind;
  frame.screenRulingCopy = 150;
  frame.scalesFollowList = c.followList;
  EXPECT_EQ(ApplyScaleEdit(&frame, kLimits, true, c.typed, c.linked, c.clamp), c.pending);
  EXPECT_FLOAT_EQ(frame.outputScaleX, c.wantX);
  EXPECT_FLOAT_EQ(frame.outputScaleY, c.wantY);
  EXPECT_EQ(frame.outputResolution, c.resolution);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScaleEdit,
    testing::Values(ScaleEditCase{"alone", Typed(110), false, nullptr, 0, 0, 110, 150, 300, false},
                    ScaleEditCase{"linked", Typed(200), true, nullptr, 0, 0, 200, 300, 300, false},
                    ScaleEditCase{"clamped", Typed(150), false, ClampTo120, 0, 0, 120, 150, 300, true},
                    // descreening: at most 200 x 150 / 300
                    ScaleEditCase{"descreening", Typed(150), false, nullptr, 2, 0, 100, 150, 300, true},
                    // following the list: both take it, the resolution is 400 x 100 / 200
                    ScaleEditCase{"following_the_list", Typed(200), false, ClampTo120, 0, 1, 200, 200, 200, false},
                    ScaleEditCase{"not_a_number", kNotANumber, false, nullptr, 0, 0, 100, 150, 300, true}),
    [](const testing::TestParamInfo<ScaleEditCase>& info) { return std::string(info.param.name); });

TEST(ScaleEdit, TheOutputSizeSetsTheScaleOfItsAxis) {
  FrameRecord frame = PanelFrame();  // 3 x 4 inches at 100 %
  EXPECT_FALSE(ApplyOutputSizeEdit(&frame, kLimits, false, Typed(6.0), 1.0, false, nullptr));
  EXPECT_FLOAT_EQ(frame.outputScaleY, 150.0f);
  EXPECT_FLOAT_EQ(frame.outputScaleX, 100.0f);
  // 15.24 cm over 3 inches: 200 %, limited to 120.
  EXPECT_TRUE(ApplyOutputSizeEdit(&frame, kLimits, true, Typed(15.24), 2.54, false, ClampTo120));
  EXPECT_FLOAT_EQ(frame.outputScaleX, 120.0f);
  EXPECT_TRUE(ApplyOutputSizeEdit(&frame, kLimits, true, kNotANumber, 1.0, false, nullptr));
  EXPECT_FLOAT_EQ(frame.outputScaleX, 120.0f);
}

struct DataSizeCase {
  uint32_t colorMode;
  uint8_t bits;
  uint8_t bitDepthChoice;
  int outputMode;
  double megabytes;
};

class DataSize : public testing::TestWithParam<DataSizeCase> {};

TEST_P(DataSize, CountsBytesPerPixelByModeAndDepth) {
  const DataSizeCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  frame.colorMode = c.colorMode;
  frame.bitsPerChannel = c.bits;
  frame.bitDepthChoice = c.bitDepthChoice;
  EXPECT_DOUBLE_EQ(DataSizeMegabytes(2048, 512, frame, c.outputMode), c.megabytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataSize,
                         testing::Values(DataSizeCase{0, 1, 0, 1, 0.125}, DataSizeCase{0, 8, 0, 5, 1.0},
                                         DataSizeCase{0, 16, 0, 2, 2.0}, DataSizeCase{2, 8, 0, 1, 3.0},
                                         DataSizeCase{2, 8, 0, 2, 4.0}, DataSizeCase{2, 8, 0, 3, 4.0},
                                         DataSizeCase{2, 8, 0, 5, 4.0}, DataSizeCase{2, 8, 0, 4, 3.0},
                                         DataSizeCase{2, 16, 0, 1, 6.0}, DataSizeCase{2, 16, 0, 3, 8.0},
                                         DataSizeCase{2, 16, 1, 3, 6.0}));

std::string DataSizeText(double megabytes) {
  unsigned char shown[256];
  char text[256];
  FormatDataSize(shown, megabytes);
  PStrToText(shown, text);
  return text;
}

TEST(PanelSizes, DataSizeShowsTwoDecimalsBelowAThousand) {
  EXPECT_EQ(DataSizeText(12.346), "12.35");
  EXPECT_EQ(DataSizeText(999.994), "999.99");
  EXPECT_EQ(DataSizeText(1234.56), "1234.6");
}

struct ScanTypeCase {
  uint32_t colorMode;
  uint8_t bits;
  uint8_t bitDepthChoice;
  int item;
};

class ScanTypeItems : public testing::TestWithParam<ScanTypeCase> {};

TEST_P(ScanTypeItems, MapTheFrameBothWays) {
  const ScanTypeCase& c = GetParam();
  FrameRecord frame = PanelFrame();
  frame.colorMode = c.colorMode;
  frame.bitsPerChannel = c.bits;
  frame.bitDepthChoice = c.bitDepthChoice;
  EXPECT_EQ(BitDepthComboIndex(frame), c.item);

  FrameRecord chosen = PanelFrame();
  ApplyScanTypeChoice(&chosen, c.item, 2.0, kLimits);
  EXPECT_EQ(BitDepthComboIndex(chosen), c.item);
  EXPECT_EQ(chosen.colorMode, c.colorMode);
  EXPECT_EQ(chosen.bitsPerChannel, c.bits);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScanTypeItems,
                         testing::Values(ScanTypeCase{2, 8, 0, 1}, ScanTypeCase{0, 8, 0, 2}, ScanTypeCase{0, 1, 0, 3},
                                         ScanTypeCase{2, 16, 0, 4}, ScanTypeCase{0, 16, 0, 5},
                                         ScanTypeCase{2, 16, 1, 6}, ScanTypeCase{0, 16, 1, 7}));

TEST(ScanType, OtherFramesShowTheFirstItem) {
  FrameRecord frame = PanelFrame();
  frame.colorMode = 5;
  frame.bitsPerChannel = 16;
  EXPECT_EQ(BitDepthComboIndex(frame), kScanTypeColor8);
  frame.colorMode = 2;
  frame.bitsPerChannel = 1;
  EXPECT_EQ(BitDepthComboIndex(frame), kScanTypeColor8);
}

TEST(ScanType, LineArtScansWithoutFilterAtQualityOne) {
  FrameRecord frame = PanelFrame();
  frame.filterMode = 5;
  EXPECT_TRUE(ApplyScanTypeChoice(&frame, kScanTypeLineArt, 2.0, kLimits));
  EXPECT_EQ(frame.filterMode, 0);
  EXPECT_DOUBLE_EQ(frame.qualityFactor, 1.0);
  EXPECT_EQ(frame.outputResolution, 150);

  // Leaving line art takes the default frame's factor back.
  EXPECT_FALSE(ApplyScanTypeChoice(&frame, kScanTypeGrey8, 1.5, kLimits));
  EXPECT_DOUBLE_EQ(frame.qualityFactor, 1.5);
  EXPECT_EQ(frame.outputResolution, 225);
}

TEST(ScanType, ZirItemsClearTheFilter) {
  FrameRecord frame = PanelFrame();
  frame.filterMode = 1;
  EXPECT_TRUE(ApplyScanTypeChoice(&frame, kScanTypeZirColor16, 2.0, kLimits));
  EXPECT_EQ(frame.filterMode, 0);
  EXPECT_EQ(frame.bitDepthChoice, 1);
  frame.filterMode = 1;
  EXPECT_FALSE(ApplyScanTypeChoice(&frame, kScanTypeColor16, 2.0, kLimits));
  EXPECT_EQ(frame.filterMode, 1);
  EXPECT_EQ(frame.bitDepthChoice, 0);
  EXPECT_DOUBLE_EQ(frame.qualityFactor, 2.0);
}

TEST(ScanType, TheResolutionIsBoundedAtTheFramesScales) {
  FrameRecord frame = PanelFrame();
  frame.outputScaleX = 400.0f;  // at most trunc(80000 / 400) = 200
  ApplyScanTypeChoice(&frame, kScanTypeGrey8, 2.0, kLimits);
  EXPECT_EQ(frame.outputResolution, 200);
  EXPECT_EQ(frame.screenRuling, 100);
  frame.outputScaleX = frame.outputScaleY = 30.0f;  // at least ceil(5000 / 30) = 167
  frame.outputResolution = 100;
  ApplyScanTypeChoice(&frame, kScanTypeGrey8, 2.0, kLimits);
  EXPECT_EQ(frame.outputResolution, 167);
  EXPECT_EQ(frame.screenRuling, 84);
}

struct FilterCase {
  bool automatic;
  int stronger, weaker;
  std::vector<uint32_t> kinds;
};

class FilterKinds : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterKinds, FollowTheDevicesSharpeningLevels) {
  const FilterCase& c = GetParam();
  EXPECT_EQ(BuildFilterKindTable(c.automatic, c.stronger, c.weaker), c.kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterKinds,
    testing::Values(FilterCase{false, 3, 3, {0, 1, 2, 3}}, FilterCase{true, 0, 0, {0, 5, 1, 2, 3}},
                    FilterCase{true, 1, 2, {0, 6, 5, 4, 9, 1, 2, 3}},
                    FilterCase{true, 3, 3, {0, 12, 11, 6, 5, 4, 9, 10, 1, 2, 3}}));

TEST(FilterKinds, WithoutAutomaticSharpeningTheItemsAreTheFourPlainOnes) {
  std::vector<uint32_t> strings;
  for (uint32_t kind : BuildFilterKindTable(false, 0, 0)) strings.push_back(FilterKindString(kind));
  // "Keine", "Unschärfe-Maskierung", "Entrasterung", "USM & Entrasterung"
  EXPECT_EQ(strings, (std::vector<uint32_t>{10, 11, 12, 30}));
  EXPECT_EQ(FilterKindString(7), 0u);
  EXPECT_EQ(FilterKindString(8), 0u);
  EXPECT_EQ(FilterKindString(12), 46u);
  EXPECT_EQ(FilterKindString(13), 0u);
}

TEST(FilterKinds, IndexAndKindFallBackToTheFirstEntries) {
  const std::vector<uint32_t> kinds = BuildFilterKindTable(true, 1, 0);  // 0 6 5 1 2 3
  EXPECT_EQ(FilterComboIndex(kinds, 5), 3);
  EXPECT_EQ(FilterComboIndex(kinds, 12), 1);
  EXPECT_EQ(FilterKindAtIndex(kinds, 2), 6u);
  EXPECT_EQ(FilterKindAtIndex(kinds, 6), 3u);
  EXPECT_EQ(FilterKindAtIndex(kinds, 7), 1u);
  EXPECT_EQ(FilterKindAtIndex(kinds, 0), 1u);
}

}  // namespace
