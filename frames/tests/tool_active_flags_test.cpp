// The tool-active bytes of a frame against the session's defaults record: a
// fresh frame has none; each change sets exactly the tool's byte, in the
// looked-at tone blocks only.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "frames/frame_record_init.h"
#include "frames/tool_active_flags.h"
#include "state/data_source_state.h"

namespace {

struct Flags {
  uint8_t colour, gradation, histogram, fourth;
};

struct FlagCase {
  const char* name;
  uint32_t colorMode;
  std::function<void(FrameRecord&)> change;
  Flags want;
};

class ToolActiveFlagsTest : public ::testing::TestWithParam<FlagCase> {
 protected:
  void SetUp() override {
    std::memset(&gDefaults, 0, sizeof gDefaults);
    for (int i = 0; i < 6; ++i) gDefaults.bytes[55 + i] = static_cast<uint8_t>(40 + i);  // per-colour values
    SetDefault<int16_t>(gDefaults, kDefaultToneOutputLow, 5);
    SetDefault<int16_t>(gDefaults, kDefaultToneOutputHigh, 250);
    FrameInitInputs inputs = {};
    inputs.defaults = &gDefaults;
    inputs.scanAreaWidth = 8.5;
    inputs.scanAreaHeight = 11.0;
    InitFrameRecordWith(&frame_, false, inputs);
    frame_.selectiveColorMode = 2;
  }
  void TearDown() override { std::memset(&gDefaults, 0, sizeof gDefaults); }

  FrameRecord frame_ = {};
};

TEST_P(ToolActiveFlagsTest, EachToolSetsItsOwnByte) {
  const FlagCase& c = GetParam();
  frame_.colorMode = c.colorMode;
  frame_.colorToolActive = frame_.gradationToolActive = frame_.histogramToolActive = frame_.fourthToolActive = 7;
  c.change(frame_);
  ComputeToolActiveFlags(&frame_);
  EXPECT_EQ(frame_.colorToolActive, c.want.colour);
  EXPECT_EQ(frame_.gradationToolActive, c.want.gradation);
  EXPECT_EQ(frame_.histogramToolActive, c.want.histogram);
  EXPECT_EQ(frame_.fourthToolActive, c.want.fourth);
}

constexpr uint32_t kGrey = 0;
constexpr uint32_t kRgb = 2;

INSTANTIATE_TEST_SUITE_P(
    Changes, ToolActiveFlagsTest,
    ::testing::Values(
        FlagCase{"FreshGrey", kGrey, [](FrameRecord&) {}, {0, 0, 0, 0}},
        FlagCase{"FreshRgb", kRgb, [](FrameRecord&) {}, {0, 0, 0, 0}},
        FlagCase{"ColourValueOffDefault", kRgb, [](FrameRecord& f) { f.colorValues[3] = 0; }, {1, 0, 0, 0}},
        FlagCase{"ColourExtra", kGrey, [](FrameRecord& f) { f.colorExtras[5] = 1; }, {1, 0, 0, 0}},
        FlagCase{"TwelveColourMatrix", kRgb, [](FrameRecord& f) { f.colorMatrix12[71] = -3; }, {1, 0, 0, 0}},
        FlagCase{"SixColourMatrixUnusedInTwelveMode", kRgb,
                 [](FrameRecord& f) { f.selectiveColorMatrix[0] = 4; }, {0, 0, 0, 0}},
        FlagCase{"SixColourMatrix", kRgb,
                 [](FrameRecord& f) {
                   f.selectiveColorMode = 1;
                   f.selectiveColorMatrix[35] = 4;
                 },
                 {1, 0, 0, 0}},
        FlagCase{"TwelveColourMatrixUnusedInSixMode", kRgb,
                 [](FrameRecord& f) {
                   f.selectiveColorMode = 1;
                   f.colorMatrix12[0] = 9;
                 },
                 {0, 0, 0, 0}},
        // 128 -> 50 %; 129 -> 49 %: the stored point moved.
        FlagCase{"GradationPointMoved", kGrey, [](FrameRecord& f) { f.tone[0].gradationY[3] = 129; }, {0, 1, 0, 0}},
        // 225 still gives 12 %: within the percent the point counts as neutral.
        FlagCase{"GradationWithinThePercent", kGrey, [](FrameRecord& f) { f.tone[0].gradationY[5] = 225; },
                 {0, 0, 0, 0}},
        // The stored points stay; the evaluated ones move with the brightness.
        FlagCase{"GradationByExpertValue", kRgb, [](FrameRecord& f) { f.tone[2].brightness = 30; }, {0, 1, 0, 0}},
        FlagCase{"RgbLooksPastTheMasterBlock", kRgb, [](FrameRecord& f) { f.tone[0].gradationY[3] = 90; },
                 {0, 0, 0, 0}},
        FlagCase{"GreyLooksAtTheMasterBlockOnly", kGrey, [](FrameRecord& f) { f.tone[1].inputLow = 9; },
                 {0, 0, 0, 0}},
        FlagCase{"InputLow", kGrey, [](FrameRecord& f) { f.tone[0].inputLow = 1; }, {0, 0, 1, 0}},
        FlagCase{"InputHigh255IsNeutral", kRgb, [](FrameRecord& f) { f.tone[3].inputHigh = 255; }, {0, 0, 0, 0}},
        FlagCase{"InputHigh", kRgb, [](FrameRecord& f) { f.tone[3].inputHigh = 254; }, {0, 0, 1, 0}},
        FlagCase{"OutputLowOffDefault", kRgb, [](FrameRecord& f) { f.tone[1].outputLow = 0; }, {0, 0, 1, 0}},
        FlagCase{"OutputHighOffDefault", kGrey, [](FrameRecord& f) { f.tone[0].outputHigh = 256; }, {0, 0, 1, 0}},
        FlagCase{"GlobalColourOffset", kRgb, [](FrameRecord& f) { f.globalColorOffset[3].values[4] = -1; },
                 {0, 0, 0, 1}},
        FlagCase{"GlobalColourOffsetOfAnUnusedBlock", kRgb,
                 [](FrameRecord& f) { f.globalColorOffset[0].values[0] = 2; }, {0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

}  // namespace
