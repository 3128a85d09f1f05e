// Preview histograms and the automatic adjustment on generated previews whose
// histograms were designed so that every expected value is worked by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tone/auto_adjust.h"
#include "tone/preview_histogram.h"
#include "tone/tests/auto_adjust_fixture.h"
#include "tone/tone_working_copy.h"

namespace {

TEST(PreviewHistogram, BlockOrderIsGreyRedGreenBlueAndInversionCountsTheComplement) {
  AutoAdjustFixture f;
  f.SetPreview({{100, 10, 20, 60}});
  ASSERT_TRUE(ComputePreviewHistogram(true, true, false, 0));
  const uint32_t* block = reinterpret_cast<const uint32_t*>(gPreviewHistogram);
  EXPECT_EQ(block[30], 100u);             // grey (10 + 20 + 60) / 3
  EXPECT_EQ(block[256 + 10], 100u);       // red
  EXPECT_EQ(block[512 + 20], 100u);       // green
  EXPECT_EQ(block[768 + 60], 100u);       // blue

  f.frame.invert = 1;
  ASSERT_TRUE(ComputePreviewHistogram(true, true, false, 0));
  EXPECT_EQ(gPreviewHistogram->red[245], 100u);
  EXPECT_EQ(gPreviewHistogram->blue[195], 100u);
  EXPECT_EQ(gPreviewHistogram->grey[(245 + 235 + 195) / 3], 100u);
  FreePreviewHistogram();
}

TEST(PreviewHistogram, ShrinkAbove80CountsAs80) {
  AutoAdjustFixture f;
  // Column x of a 100-wide, 2-high image has grey x.
  std::vector<PixelRun> runs;
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 100; ++x) runs.push_back(Grey(1, uint8_t(x)));
  f.SetPreview(runs);
  for (uint8_t shrink : {80, 100, 255}) {
    ASSERT_TRUE(ComputePreviewHistogram(true, true, false, shrink));
    // 40 columns dropped on each side: 40..59 remain; each row is 2 high, shrunk by 2 x 80 / 200 = 0.
    uint32_t counted = 0;
    for (int bin = 0; bin < 256; ++bin) {
      counted += gPreviewHistogram->grey[bin];
      EXPECT_EQ(gPreviewHistogram->grey[bin], bin >= 40 && bin < 60 ? 2u : 0u) << "shrink " << int(shrink);
    }
    EXPECT_EQ(counted, 40u);
  }
  ASSERT_TRUE(ComputePreviewHistogram(true, true, false, 50));
  EXPECT_EQ(gPreviewHistogram->grey[24], 0u);
  EXPECT_EQ(gPreviewHistogram->grey[25], 2u);
  FreePreviewHistogram();
}

TEST(PreviewHistogram, OnlyTheUncorrectedImageWithoutShiftIsSmoothed) {
  AutoAdjustFixture f;
  f.SetPreview({Grey(100, 50)});
  ASSERT_TRUE(ComputePreviewHistogram(true, true, false, 0));
  EXPECT_EQ(f.calls.gapFills, 0);
  ASSERT_TRUE(ComputePreviewHistogram(true, false, false, 0));
  EXPECT_EQ(f.calls.gapFills, 4);
  f.system->keysDown.insert(kVirtualKeyShift);
  ASSERT_TRUE(ComputePreviewHistogram(true, false, false, 0));
  EXPECT_EQ(f.calls.gapFills, 4);
  FreePreviewHistogram();
}

TEST(PreviewHistogram, WithoutBothPreviewsNothingIsCountedAndNothingChanges) {
  AutoAdjustFixture f(1);
  f.SetPreview({Grey(100, 50)});
  AutoAdjustFixture::havePreview = false;
  const FrameRecord before = f.frame;
  EXPECT_FALSE(ComputePreviewHistogram(true, true, false, 0));
  EXPECT_EQ(gPreviewHistogram, nullptr);
  EXPECT_FALSE(RunAutoAdjust(false, false));
  EXPECT_EQ(std::memcmp(&before, &f.frame, sizeof before), 0);
}

constexpr int kAny = 999;

// One automatic adjustment of a designed preview; kAny where a value is not checked.
struct AdjustCase {
  const char* name;
  std::vector<PixelRun> preview;
  uint32_t colorMode;
  uint8_t imageType;
  int8_t shadowClip, highlightClip;
  bool shadowLevels, highlightLevels;
  uint8_t castRemoval;      // the defaults' setting
  bool quiet;
  int low[3], high[3];      // channels 1-3 of an RGB frame, else the master block in [0]
  int midtoneShift;
  int contrast;
  int lowerContrast;
};

// 100000 pixels: shadow clip 1 gives a threshold of 50, reached at grey 7
// (49 at 5, 1 at 7): shadow 6; 50 at 250 reach the highlight threshold: 251.
const std::vector<PixelRun> kThresholdPreview = {Grey(49, 5), Grey(1, 7), Grey(99900, 128), Grey(50, 250)};
// 4000 pixels, threshold 2: the darkest pixel (250, 10, 10) lies below the
// bin where the sum is reached (95), the brightest (150, 200, 250) above it
// (195). Red's shadow 250 lies above its highlight 150 and is lowered to it;
// the pair is then spread to 130..150.
const std::vector<PixelRun> kCastPreview = {{1, 250, 10, 10}, Grey(1, 95), Grey(3996, 128), Grey(1, 195),
                                            {1, 150, 200, 250}};

const AdjustCase kAdjustCases[] = {
    {"threshold of clip 1 on 100000 pixels is 50", kThresholdPreview, 1, 0, 1, 1, false, false, 100, false,
     {6}, {251}, 0, 0, 0},
    {"clip 0 is a threshold of 1", {Grey(1, 3), Grey(98, 128), Grey(1, 240)}, 1, 0, 0, 0, false, false, 100, false,
     {2}, {241}, kAny, kAny, kAny},
    {"first used level 10 with clip 2 is 11", {Grey(100, 10), Grey(100, 200)}, 1, 0, 2, 0, true, true, 100, false,
     {11}, {201}, kAny, kAny, kAny},
    {"highlight level clip never closer than 20", {Grey(100, 10), Grey(100, 60)}, 1, 0, 2, 50, true, true, 100,
     false, {11}, {32}, kAny, kAny, kAny},
    {"type 7 forces highlights 256", kThresholdPreview, 1, 7, 1, 1, false, false, 100, false, {6}, {256}, kAny, 0, 0},
    {"type 6 forces shadows 0", kThresholdPreview, 1, 6, 1, 1, false, false, 100, false, {0}, {251}, kAny, 0, 0},
    {"type 1 landscape contrast", kThresholdPreview, 1, 1, 1, 1, false, false, 100, false, {6}, {251}, kAny, 15, 0},
    {"type 2 skin contrast", kThresholdPreview, 1, 2, 1, 1, false, false, 100, false, {6}, {251}, kAny, -10, 0},
    {"type 4 technical shadows", kThresholdPreview, 1, 4, 1, 1, false, false, 100, false, {6}, {251}, kAny, 0, 20},
    {"all black: the empty ranges are guarded", {Grey(100, 0)}, 1, 0, 1, 1, false, false, 100, false, {0}, {21},
     kAny, kAny, kAny},
    {"all white: the empty ranges are guarded", {Grey(100, 255)}, 1, 0, 1, 1, false, false, 100, false, {234},
     {255}, kAny, kAny, kAny},
    {"a shadow lowered onto its highlight keeps 20 levels", kCastPreview, kColorModeRgb, 0, 1, 1, false, false, 100,
     false, {130, 10, 10}, {150, 200, 250}, 0, kAny, kAny},
    {"cast removal 50 percent", kCastPreview, kColorModeRgb, 0, 1, 1, false, false, 50, false, {70, 10, 10},
     {200, 225, 250}, kAny, kAny, kAny},
    {"keep cast gives every channel the same points", kCastPreview, kColorModeRgb, 3, 1, 1, false, false, 100, false,
     {10, 10, 10}, {250, 250, 250}, kAny, kAny, kAny},
    {"keep cast in white", kCastPreview, kColorModeRgb, 10, 1, 1, false, false, 100, false, {130, 10, 10},
     {250, 250, 250}, kAny, kAny, kAny},
    {"keep cast in black", kCastPreview, kColorModeRgb, 9, 1, 1, false, false, 100, false, {10, 10, 10},
     {150, 200, 250}, kAny, kAny, kAny},
    {"quiet keeps no cast and blends nothing", kCastPreview, kColorModeRgb, 3, 1, 1, false, false, 50, true,
     {130, 10, 10}, {150, 200, 250}, kAny, kAny, kAny},
};

void PrintTo(const AdjustCase& c, std::ostream* out) { *out << c.name; }

class AutoAdjustCases : public testing::TestWithParam<AdjustCase> {};

TEST_P(AutoAdjustCases, SetsThePointsWorkedByHand) {
  const AdjustCase& c = GetParam();
  AutoAdjustFixture f(c.colorMode);
  f.SetPreview(c.preview);
  SetDefault(f.defaults, kDefaultAutoShadowThreshold, c.shadowClip);
  SetDefault(f.defaults, kDefaultAutoHighlightThreshold, c.highlightClip);
  SetDefault(f.defaults, kDefaultAutoShadowLevels, uint8_t(c.shadowLevels));
  SetDefault(f.defaults, kDefaultAutoHighlightLevels, uint8_t(c.highlightLevels));
  SetDefault(f.defaults, kDefaultCastRemoval, c.castRemoval);
  f.frame.imageType = c.imageType;
  ASSERT_TRUE(RunAutoAdjust(false, c.quiet));
  const bool rgb = c.colorMode == kColorModeRgb;
  for (int k = 0; k < (rgb ? 3 : 1); ++k) {
    const ToneBlock& block = f.frame.tone[rgb ? k + 1 : 0];
    EXPECT_EQ(block.inputLow, c.low[k]) << "channel " << k;
    EXPECT_EQ(block.inputHigh, c.high[k]) << "channel " << k;
    if (c.midtoneShift != kAny) { EXPECT_EQ(block.midtoneShift, c.midtoneShift); }
    if (c.contrast != kAny) { EXPECT_EQ(block.contrast, c.contrast); }
    if (c.lowerContrast != kAny) { EXPECT_EQ(block.lowerContrast, c.lowerContrast); }
    EXPECT_EQ(block.shiftMode, 1);
  }
  EXPECT_EQ(gPreviewHistogram, nullptr);
}

INSTANTIATE_TEST_SUITE_P(HandWorked, AutoAdjustCases, testing::ValuesIn(kAdjustCases),
                         [](const testing::TestParamInfo<AdjustCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(AutoAdjust, CastRemovalTakesItsDefaultAndZeroWhenTheCastIsKept) {
  AutoAdjustFixture f;
  f.SetPreview(kCastPreview);
  SetDefault(f.defaults, kDefaultCastRemoval, uint8_t{40});
  ASSERT_TRUE(RunAutoAdjust(false, true));
  EXPECT_EQ(f.frame.castRemoval, 40);
  f.frame.imageType = 5;
  ASSERT_TRUE(RunAutoAdjust(false, true));
  EXPECT_EQ(f.frame.castRemoval, 0);
  f.frame.imageType = 0;
  SetDefault(f.defaults, kDefaultInputCmsMode, int16_t{3});
  ASSERT_TRUE(RunAutoAdjust(false, true));
  EXPECT_EQ(f.frame.castRemoval, 0);
}

TEST(AutoAdjust, OutputLimitsFromThePercentSettingsAndNoFixedPointsAfterwards) {
  AutoAdjustFixture f;
  f.SetPreview(kCastPreview);
  AutoAdjustFixture::settings.lowPercent = 10;   // round(25.6) = 26
  AutoAdjustFixture::settings.highPercent = 5;   // 255 - round(12.8) = 242
  for (ToneBlock& block : f.frame.tone) {
    block.fixedPointValues[1] = ToneFixedPointValue{30, 40};
    block.endLow = 7;
    block.endHigh = 200;
  }
  ASSERT_TRUE(RunAutoAdjust(false, false));
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(f.frame.tone[c].outputLow, 26);
    EXPECT_EQ(f.frame.tone[c].outputHigh, 242);
    EXPECT_EQ(f.frame.tone[c].endLow, 0);
    EXPECT_EQ(f.frame.tone[c].endHigh, 255);
  }
  for (const ToneBlock& block : f.frame.tone)
    for (const ToneFixedPointValue& pair : block.fixedPointValues) EXPECT_EQ(pair.source | pair.target, 0);
}

// 100 pixels, threshold 1: shadow 9, highlight 211, hr 101; the median bin 40
// gives m 41, d = 41 - 9 - 101 = -69, v = -1380 / 101 = -13.66; a dark weight
// of -66 gives the factor 2.2 and the shift trunc(-30.06) = -30.
TEST(AutoAdjust, MidtoneShiftIsClampedAfterTheLinearToeHalvesIt) {
  for (bool linearToe : {false, true}) {
    AutoAdjustFixture f(1);
    f.SetPreview({Grey(1, 10), Grey(98, 40), Grey(1, 210)});
    SetDefault(f.defaults, kDefaultAutoPipetteMidFactor1, -66.0f);
    SetDefault(f.defaults, kDefaultLimitGammaSlope, uint8_t(linearToe));
    ASSERT_TRUE(RunAutoAdjust(false, true));
    EXPECT_EQ(f.frame.tone[0].inputLow, 9);
    EXPECT_EQ(f.frame.tone[0].inputHigh, 211);
    EXPECT_EQ(f.frame.tone[0].midtoneShift, linearToe ? -15 : -20);
  }
}

// Levels mode, clip 0. All at 128: shadow 127, highlight 148, every pixel next
// to the mid-tone 127.5: s = 0, contrast 40. Half at 0, half at 255: points 0
// and 255, every weight 1, s = 1 - 0.25, contrast trunc(40 / 4.75 + 0.5) = 8.
TEST(AutoAdjust, AutomaticContrastFromTheSpreadAroundTheMidtone) {
  struct {
    std::vector<PixelRun> preview;
    int contrast;
  } cases[] = {{{Grey(100, 128)}, 40}, {{Grey(50, 0), Grey(50, 255)}, 8}};
  for (const auto& c : cases) {
    AutoAdjustFixture f(1);
    f.SetPreview(c.preview);
    SetDefault(f.defaults, kDefaultAutoShadowLevels, uint8_t{1});
    SetDefault(f.defaults, kDefaultAutoHighlightLevels, uint8_t{1});
    SetDefault(f.defaults, kDefaultAutoContrastReflective, uint8_t{1});
    f.frame.tone[0].contrast = -3;
    ASSERT_TRUE(RunAutoAdjust(false, true));
    EXPECT_EQ(f.frame.tone[0].midtoneShift, 0);
    EXPECT_EQ(f.frame.tone[0].contrast, c.contrast);
    // The option of the other original type is not read.
    f.lightSource = 1;
    f.frame.tone[0].contrast = -3;
    ASSERT_TRUE(RunAutoAdjust(false, true));
    EXPECT_EQ(f.frame.tone[0].contrast, 0);
  }
}

TEST(AutoAdjust, QuietLeavesTheWorkingCopyAndThePreviewAlone) {
  AutoAdjustFixture f;
  f.SetPreview(kCastPreview);
  AutoAdjustFixture::live = true;
  std::memset(&gToneWorkingCopy, 0x5A, sizeof gToneWorkingCopy);
  ASSERT_TRUE(RunAutoAdjust(false, true));
  EXPECT_EQ(gToneWorkingCopy.inputLow, 0x5A5A);
  EXPECT_EQ(f.calls.redraws + f.calls.refreshes, 0);

  ASSERT_TRUE(RunAutoAdjust(true, false));
  const ToneBlock loaded = gToneWorkingCopy;
  LoadToneWorkingCopy();
  EXPECT_EQ(std::memcmp(&loaded, &gToneWorkingCopy, sizeof loaded), 0);
  EXPECT_EQ(f.calls.redraws + f.calls.refreshes, 0);

  ASSERT_TRUE(RunAutoAdjust(false, false));
  EXPECT_EQ(f.calls.redraws, 2);
  EXPECT_EQ(f.calls.refreshes, 1);
}

}  // namespace
