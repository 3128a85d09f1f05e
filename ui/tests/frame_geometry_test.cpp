// Scan resolution and scale of a frame, its scan pixel sizes, the scan area
// in inches and the device margins.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/fixed_point.h"
#include "records/frame_record.h"
#include "session/device_layer.h"
#include "session/frame_geometry.h"

namespace {

ResolutionList List(std::initializer_list<uint16_t> values) {
  ResolutionList list = {};
  for (uint16_t v : values) list.values[list.count++] = v;
  return list;
}

FrameRecord Frame(int16_t outputResolution, float scaleX, float scaleY) {
  FrameRecord frame;
  std::memset(&frame, 0, sizeof frame);
  frame.outputResolution = outputResolution;
  frame.outputScaleX = scaleX;
  frame.outputScaleY = scaleY;
  frame.width = 1.0;
  frame.height = 1.0;
  return frame;
}

const DeviceScaleLimits kWideLimits = {1, 1000, 0};

struct ResolutionCase {
  const char* name;
  int16_t outputResolution;
  float scaleX;
  float scaleY;
  uint8_t filterMode;
  uint16_t wantX;
  uint16_t wantY;
};

class ResolutionChoice : public testing::TestWithParam<ResolutionCase> {};

TEST_P(ResolutionChoice, FirstEntryThatReachesTheNeed) {
  const ResolutionCase& c = GetParam();
  FrameRecord frame = Frame(c.outputResolution, c.scaleX, c.scaleY);
  frame.filterMode = c.filterMode;
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), kWideLimits);
  EXPECT_EQ(frame.scanResolutionX, c.wantX);
  EXPECT_EQ(frame.scanResolutionY, c.wantY);
}

INSTANTIATE_TEST_SUITE_P(
    Needs, ResolutionChoice,
    testing::Values(ResolutionCase{"exact_match", 100, 100.0f, 200.0f, 0, 100, 200},
                    ResolutionCase{"between_entries_goes_up", 120, 100.0f, 50.0f, 0, 200, 100},
                    ResolutionCase{"below_the_first", 10, 100.0f, 100.0f, 0, 50, 50},
                    ResolutionCase{"above_the_last_takes_the_last", 600, 100.0f, 100.0f, 0, 300, 300},
                    ResolutionCase{"scale_enters_the_need", 100, 250.0f, 150.0f, 0, 300, 200},
                    ResolutionCase{"filter_mode_2_doubles", 100, 100.0f, 50.0f, 2, 200, 100},
                    ResolutionCase{"filter_mode_3_doubles", 75, 100.0f, 100.0f, 3, 200, 200},
                    ResolutionCase{"filter_mode_1_does_not", 75, 100.0f, 100.0f, 1, 100, 100}),
    [](const testing::TestParamInfo<ResolutionCase>& info) { return info.param.name; });

TEST(ScanScale, FixedWholeAndByteForms) {
  FrameRecord frame = Frame(150, 100.0f, 100.0f);  // need 150 -> 200 dpi at 75 %
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), kWideLimits);
  EXPECT_EQ(frame.fixedScaleX, DoubleToFix(75.0));
  EXPECT_EQ(frame.scanPercentX, 75);
  EXPECT_EQ(frame.scanPercentByteX, 75);
}

TEST(ScanScale, ThousandPercentLeavesItsLowByte) {
  FrameRecord frame = Frame(1000, 100.0f, 100.0f);  // need 1000 at the last entry 100: 1000 %
  ChooseScanResolutionFrom(&frame, List({50, 100}), kWideLimits);
  EXPECT_EQ(frame.scanResolutionX, 100);
  EXPECT_EQ(frame.scanPercentX, 1000);
  EXPECT_EQ(frame.scanPercentByteX, 232);
  // The single-precision 0.01 of the need leaves the 16.16 form a step below 1000.
  EXPECT_EQ(frame.fixedScaleX, 1000 * kFixedOne - 1);
}

TEST(ScanScale, StepAndLimitsOfTheWholePercent) {
  // need 130 at 200 dpi: 65 %; a step of 10 keeps 60; the 16.16 form is not stepped.
  FrameRecord frame = Frame(130, 100.0f, 100.0f);
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), DeviceScaleLimits{1, 1000, 10});
  EXPECT_EQ(frame.scanPercentX, 60);
  EXPECT_EQ(frame.fixedScaleX, DoubleToFix(65.0));

  // The step may take the percent below the lower limit; the limit then holds.
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), DeviceScaleLimits{64, 1000, 10});
  EXPECT_EQ(frame.scanPercentX, 64);

  // Both forms are held to the upper limit.
  frame = Frame(3000, 100.0f, 100.0f);
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), DeviceScaleLimits{1, 400, 0});
  EXPECT_EQ(frame.scanPercentX, 400);
  EXPECT_EQ(frame.fixedScaleX, DoubleToFix(400.0));
}

TEST(ScanScale, ScalesFollowingTheListTakeTheLastEntry) {
  FrameRecord frame = Frame(72, 33.0f, 250.0f);
  frame.scalesFollowList = 1;
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), kWideLimits);
  EXPECT_EQ(frame.scanResolutionX, 300);
  EXPECT_EQ(frame.scanResolutionY, 300);
  EXPECT_EQ(frame.scanPercentX, 100);
  EXPECT_EQ(frame.scanPercentY, 100);

  frame.filterMode = 2;
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), kWideLimits);
  EXPECT_EQ(frame.scanPercentX, 200);
}

TEST(ScanScale, EmptyListLeavesTheFrame) {
  FrameRecord frame = Frame(300, 100.0f, 100.0f);
  const FrameRecord before = frame;
  ChooseScanResolutionFrom(&frame, ResolutionList{}, kWideLimits);
  EXPECT_EQ(std::memcmp(&frame, &before, sizeof frame), 0);
}

TEST(ScanScale, ChoiceSetsTheScanPixelSizes) {
  // need 150 -> 200 dpi at 75 %: 150 pixels an inch.
  FrameRecord frame = Frame(150, 100.0f, 100.0f);
  frame.originX = 1.0;
  frame.originY = 0.5;
  frame.width = 2.0;
  frame.height = 3.0;
  ChooseScanResolutionFrom(&frame, List({50, 100, 200, 300}), kWideLimits);
  EXPECT_EQ(frame.scanPixelWidth, 300);
  EXPECT_EQ(frame.scanPixelHeight, 450);
  EXPECT_EQ(frame.scanOriginX, 150u);
  EXPECT_EQ(frame.scanOriginY, 75u);
}

TEST(PixelSizes, RoundedAndHeldWithinTheLimits) {
  FrameRecord frame = Frame(300, 100.0f, 100.0f);
  frame.scanResolutionX = 300;
  frame.scanResolutionY = 200;
  frame.fixedScaleX = DoubleToFix(50.0);
  frame.fixedScaleY = DoubleToFix(100.0);
  // 150 and 200 pixels an inch; 150.6 pixels round up, 199.4 down.
  ComputeFramePixelSizes(0.5, 0.25, 1.004, 0.997, &frame, 1, 1, 10000, 10000);
  EXPECT_EQ(frame.scanOriginX, 75u);
  EXPECT_EQ(frame.scanOriginY, 50u);
  EXPECT_EQ(frame.scanPixelWidth, 151);
  EXPECT_EQ(frame.scanPixelHeight, 199);

  // Sizes within [min, max]; the origin at most max - size.
  ComputeFramePixelSizes(10.0, 10.0, 100.0, 0.001, &frame, 1, 5, 1000, 900);
  EXPECT_EQ(frame.scanPixelWidth, 1000);
  EXPECT_EQ(frame.scanOriginX, 0u);
  EXPECT_EQ(frame.scanPixelHeight, 5);
  EXPECT_EQ(frame.scanOriginY, 895u);
}

TEST(ScanArea, InchesKeepTheirFraction) {
  const ScanAreaInches area = ScanAreaInchesOf(1000, 450, List({50, 100, 300}));
  EXPECT_DOUBLE_EQ(area.width, 1000.0 / 300.0);
  EXPECT_DOUBLE_EQ(area.height, 1.5);
  const ScanAreaInches none = ScanAreaInchesOf(1000, 450, ResolutionList{});
  EXPECT_EQ(none.width, 0.0);
  EXPECT_EQ(none.height, 0.0);
}

TEST(ScanArea, MarginsOnlyWhereTheyLeaveRoom) {
  FrameRecord frame = Frame(300, 100.0f, 100.0f);
  frame.originX = 2.0;
  frame.originY = 3.0;
  frame.width = 1.0;
  frame.height = 1.0;
  // Left and right leave 6 inches of 8; top and bottom take all 5 of 5.
  ApplyMarginsWithin(&frame, 0.5, 2.0, 1.5, 3.0, ScanAreaInches{8.0, 5.0});
  EXPECT_EQ(frame.originX, 0.5);
  EXPECT_EQ(frame.width, 6.0);
  EXPECT_EQ(frame.originY, 3.0);
  EXPECT_EQ(frame.height, 1.0);
}

// A 10 x 8 inch area in a preview 480 pixels high: 60 dots per inch are
// needed, taken from 100 dpi at 60 percent.
TEST(PrescanFrame, FitsTheScanAreaIntoThePreviewHeight) {
  struct Case {
    int32_t height;
    bool integerScales;
    uint16_t resolution;
    uint16_t percent;
    double exact;
    uint32_t originX;
  } cases[] = {
      {480, true, 100, 60, 60.0, 60},
      {2800, false, 300, 117, 350.0 * 100 / 300, 350},  // above every entry: the last
      {4000, true, 300, 150, 150.0, 450},               // and the percent clamped
      {200, false, 50, 50, 50.0, 25},                   // need 25 takes the first entry
  };
  const DeviceScaleLimits limits{10, 150, 0};
  for (const Case& c : cases) {
    FrameRecord frame = Frame(300, 100.0f, 100.0f);
    frame.originX = 1.0;
    frame.originY = 0.5;
    SetupPrescanFrameFrom(&frame, 600, c.height, List({50, 100, 200, 300}), limits, c.integerScales, 1, 8.0);
    EXPECT_EQ(frame.scanResolutionX, c.resolution) << c.height;
    EXPECT_EQ(frame.scanPercentX, c.percent) << c.height;
    EXPECT_EQ(frame.scanPercentByteX, c.percent & 0xFF) << c.height;
    EXPECT_EQ(frame.fixedScaleX, DoubleToFix(c.exact)) << c.height;
    EXPECT_EQ(frame.scanPixelWidth, 600);
    EXPECT_EQ(frame.scanPixelHeight, c.height);
    EXPECT_EQ(frame.scanOriginX, c.originX) << c.height;
  }
}

struct SampleFactorCase {
  uint8_t filterMode;
  uint8_t matrix;
  int want;
};

class SampleFactor : public testing::TestWithParam<SampleFactorCase> {};

TEST_P(SampleFactor, ByFilterModeAndMatrix) {
  FrameRecord frame = Frame(300, 100.0f, 100.0f);
  frame.filterMode = GetParam().filterMode;
  frame.sharpenFlag = GetParam().matrix;
  EXPECT_EQ(ImageModeSampleFactor(&frame), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Modes, SampleFactor,
                         testing::Values(SampleFactorCase{1, 1, 2}, SampleFactorCase{1, 2, 3},
                                         SampleFactorCase{1, 0, 1}, SampleFactorCase{3, 2, 3},
                                         SampleFactorCase{6, 1, 2}, SampleFactorCase{9, 1, 2},
                                         SampleFactorCase{12, 2, 3}, SampleFactorCase{0, 2, 1},
                                         SampleFactorCase{2, 2, 1}, SampleFactorCase{7, 1, 1},
                                         SampleFactorCase{8, 2, 1}, SampleFactorCase{13, 1, 1}));

// A 10 x 8 inch scan area in a 600 x 480 preview (613 x 480 for the whole-percent case).
TEST(ZoomGeometry, AreaStepScaleAndOrigin) {
  const struct {
    const char* what;
    DRect frame;
    int32_t width;
    bool wholePercent;
    DeviceScaleLimits limits;
    uint16_t step;
    double percent;
    int32_t wholePercentWanted;
    DRect area;
    int32_t left, top;
  } cases[] = {
      {"a fifth larger, centred", {2, 2, 2.5, 2}, 600, false, {10, 400, 0}, 200, 100.0, 100, {1.75, 1.8, 3, 2.4}, 350,
       360},
      {"beyond every resolution: the last, scaled up; never smaller than the frame", {0, 0, 1, 1}, 600, false,
       {10, 400, 0}, 300, 500.0 / 3, 166, {0, 0, 1.2, 1.0}, 0, 0},
      {"centred, then moved inside the scan area", {1, 1, 8, 7}, 600, false, {10, 400, 0}, 100, 62.5, 62,
       {0.2, 0.32, 9.6, 7.68}, 13, 20},
      {"the largest scale shows less than the preview: the origin held back before the scan area", {0, 0, 10, 8}, 600,
       false, {10, 50, 0}, 100, 50.0, 50, {0, 0, 10, 8}, -100, -80},
      {"a whole percent too wide for the scan area: rounded up instead", {0, 0, 10, 8}, 613, true, {10, 400, 0}, 100,
       62.0, 62, {0, 0, 10, 8}, 0, 0},
  };
  for (const auto& c : cases) {
    const ZoomGeometry z =
        ComputeZoomGeometry(c.frame, c.width, 480, 10.0, 8.0, List({50, 100, 200, 300}), c.limits, c.wholePercent);
    EXPECT_EQ(z.step, c.step) << c.what;
    EXPECT_NEAR(z.percent, c.percent, 1e-9) << c.what;
    EXPECT_EQ(z.wholePercent, c.wholePercentWanted) << c.what;
    EXPECT_NEAR(z.area.x, c.area.x, 1e-9) << c.what;
    EXPECT_NEAR(z.area.y, c.area.y, 1e-9) << c.what;
    EXPECT_NEAR(z.area.width, c.area.width, 1e-9) << c.what;
    EXPECT_NEAR(z.area.height, c.area.height, 1e-9) << c.what;
    EXPECT_EQ(z.left, c.left) << c.what;
    EXPECT_EQ(z.top, c.top) << c.what;
  }
}

TEST(ZoomGeometry, CutOutOfTheStoredPrescanAndTheZoomHint) {
  const DRect stored = {0, 0, 10, 8};
  const DRect area = {2, 2, 3, 2.4};
  // 100 prescan pixels an inch: a cut-out of 300 for a 600 box offers too few pixels.
  PrescanCutOut cut = CutOutOfPrescan(area, stored, 1000, 800, 600, 480);
  EXPECT_EQ(cut.left, 200);
  EXPECT_EQ(cut.top, 200);
  EXPECT_EQ(cut.right, 500);
  EXPECT_EQ(cut.bottom, 440);
  EXPECT_DOUBLE_EQ(cut.stepX, 0.5);
  EXPECT_EQ(cut.zoomHint, 1);
  // 400 an inch: 1200 for the same box is enough.
  cut = CutOutOfPrescan(area, stored, 4000, 3200, 600, 480);
  EXPECT_EQ(cut.right - cut.left, 1200);
  EXPECT_DOUBLE_EQ(cut.stepX, 2.0);
  EXPECT_DOUBLE_EQ(cut.stepY, 2.0);
  EXPECT_EQ(cut.zoomHint, 2);
}

}  // namespace
