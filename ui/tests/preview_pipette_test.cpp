// The preview pipette on a frame: brightness alerts, end-point candidates,
// Shift, the invert flag and the neutral point's hit test. The unprocessed
// preview sample lies in a 100 x 100 image.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/dialogs/prompts.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/scripted_system.h"
#include "frames/frame_record_init.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/curve_tables.h"
#include "tone/table_utils.h"
#include "ui/preview_pipette.h"

namespace {

class PreviewPipetteTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    InitFrameRecord(&frame, true);
    frame.colorMode = 2;
    frame.bitsPerChannel = 8;
    SetDefault<int16_t>(gDefaults, kDefaultShadowTargetInverse, 10);
    SetDefault<int16_t>(gDefaults, kDefaultHighlightTargetPercent, 5);
  }
  void TearDown() override { ResetDataSourceState(); }

  static DensitometerSample Sample(uint8_t r, uint8_t g, uint8_t b, int32_t x = 50, int32_t y = 50) {
    DensitometerSample s{};
    s.base[0] = r;
    s.base[1] = g;
    s.base[2] = b;
    s.x = x;
    s.y = y;
    s.baseRect = WinRect{0, 0, 100, 100};
    return s;
  }
  bool Apply(uint16_t kind, const DensitometerSample& s, int16_t halfWidth = 1) {
    return ApplyPipetteToFrame(&frame, kind, s, halfWidth);
  }

  ScopedScriptedSystem system;
  FrameRecord frame;
};

TEST_F(PreviewPipetteTest, BrightnessAlertsAskBeforeTheEndPointsMove) {
  struct Case {
    uint16_t kind;
    uint8_t grey;
    uint32_t alert;  // 0: none
  } cases[] = {{kPipetteBlack, 102, 0}, {kPipetteBlack, 103, 103}, {kPipetteWhite, 153, 0},
               {kPipetteWhite, 152, 102}, {kPipetteNeutral, 255, 0}};
  for (const Case& c : cases) {
    ScopedPrompts prompts;
    if (c.alert) prompts.Reply(kAnswerNo);
    const FrameRecord before = frame;
    EXPECT_EQ(Apply(c.kind, Sample(c.grey, c.grey, c.grey)), c.alert == 0) << c.kind << " " << int(c.grey);
    if (c.alert) {
      EXPECT_EQ(prompts.Asked(0).textId, c.alert);
      EXPECT_EQ(prompts.Asked(0).titleId, 100u);
      EXPECT_EQ(std::memcmp(&before, &frame, sizeof frame), 0) << "No leaves the frame unchanged";
    }
    frame = before;
  }
  // Yes goes on.
  ScopedPrompts prompts;
  prompts.Reply(kAnswerYes);
  EXPECT_TRUE(Apply(kPipetteBlack, Sample(110, 110, 110)));
  EXPECT_EQ(frame.tone[1].inputLow, 110);
}

TEST_F(PreviewPipetteTest, BlackAndWhitePointsWriteTheChannelsEndPoints) {
  const int16_t masterLow = frame.tone[0].inputLow;
  ASSERT_TRUE(Apply(kPipetteBlack, Sample(30, 60, 90)));
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(frame.tone[c].inputLow, 30 * c) << c;
    EXPECT_EQ(frame.tone[c].outputLow, 25) << c;  // 10 x 256 / 100
    EXPECT_EQ(frame.tone[c].endLow, 0) << c;
  }
  EXPECT_EQ(frame.tone[0].inputLow, masterLow) << "the master block stays for RGB";
  ASSERT_TRUE(Apply(kPipetteWhite, Sample(200, 210, 220)));
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(frame.tone[c].inputHigh, 190 + 10 * c) << c;
    EXPECT_EQ(frame.tone[c].outputHigh, 255 - 12) << c;  // 255 - 5 x 256 / 100
    EXPECT_EQ(frame.tone[c].endHigh, 255) << c;
  }
}

TEST_F(PreviewPipetteTest, CandidatesKeep20FromTheOppositeEndPoint) {
  frame.tone[1].inputHigh = 200;
  frame.tone[2].inputHigh = 240;
  frame.tone[3].inputHigh = 100;
  ScopedPrompts prompts;
  prompts.Reply(kAnswerYes);  // an average of 140 is bright for a black point
  ASSERT_TRUE(Apply(kPipetteBlack, Sample(100, 220, 100)));
  EXPECT_EQ(frame.tone[1].inputLow, 100);
  EXPECT_EQ(frame.tone[2].inputLow, 220);
  EXPECT_EQ(frame.tone[3].inputLow, 80);  // at the white end point: 100 - 20
  frame.tone[1].inputLow = 200;
  frame.tone[2].inputLow = 250;
  frame.tone[3].inputLow = 0;
  ASSERT_TRUE(Apply(kPipetteWhite, Sample(190, 200, 160)));
  EXPECT_EQ(frame.tone[1].inputHigh, 220);  // 200 + 20
  EXPECT_EQ(frame.tone[2].inputHigh, 255);  // 270, at most 255
  EXPECT_EQ(frame.tone[2].inputLow, 250);
  EXPECT_EQ(frame.tone[3].inputHigh, 160);
}

TEST_F(PreviewPipetteTest, ShiftTakesTheDarkestOrBrightestOfTheThree) {
  system->keysDown = {0x10};
  ASSERT_TRUE(Apply(kPipetteBlack, Sample(30, 60, 90)));
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(frame.tone[c].inputLow, 30) << c;
  ASSERT_TRUE(Apply(kPipetteWhite, Sample(200, 240, 160)));
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(frame.tone[c].inputHigh, 240) << c;
  // A grey frame works on the master block with the average.
  frame.colorMode = 1;
  ASSERT_TRUE(Apply(kPipetteBlack, Sample(30, 60, 91)));
  EXPECT_EQ(frame.tone[0].inputLow, 60);  // (181 + 1) / 3
}

TEST_F(PreviewPipetteTest, InvertedFramesCountTheComplement) {
  frame.invert = 1;
  ScopedPrompts prompts;
  prompts.Reply(kAnswerYes);  // 235 is bright for a black point
  ASSERT_TRUE(Apply(kPipetteBlack, Sample(20, 20, 20)));
  EXPECT_EQ(prompts.Asked(0).textId, 103u);
  EXPECT_EQ(frame.tone[1].inputLow, 235);
}

TEST_F(PreviewPipetteTest, EveryEndPointClickRemovesTheNeutralPoints) {
  for (int i = 0; i < 4; ++i) frame.fixedPoints[i] = FramePoint{0.1 * (i + 1), 0.2};
  for (int c = 0; c < 4; ++c) frame.tone[c].fixedPointValues[0] = ToneFixedPointValue{40, 50};
  ASSERT_TRUE(Apply(kPipetteBlack, Sample(10, 10, 10)));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(frame.fixedPoints[i].x, 0.0) << i;
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(frame.tone[c].fixedPointValues[0].source, 0) << c;
}

TEST_F(PreviewPipetteTest, NeutralPointAimsAtTheFixedTarget) {
  SetDefault<uint8_t>(gDefaults, kDefaultMidPipetteTargetOn, 1);
  SetDefault<uint8_t>(gDefaults, kDefaultMidPipetteTarget, 50);  // 127.5, used as 127
  ASSERT_TRUE(Apply(kPipetteNeutral, Sample(100, 120, 140, 25, 75)));
  EXPECT_DOUBLE_EQ(frame.fixedPoints[0].x, 0.25);
  EXPECT_DOUBLE_EQ(frame.fixedPoints[0].y, 0.75);
  for (int c = 1; c <= 3; ++c) {
    uint8_t table[kCurveTableBytes];
    FrameRecord plain = frame;
    std::memset(plain.tone[c].fixedPointValues, 0, sizeof plain.tone[c].fixedPointValues);
    BuildChannelCurveTable(table, &plain, static_cast<int16_t>(c));
    const int expected = static_cast<int>(InverseLookup8(table, 127, 255) + 0.5);
    EXPECT_EQ(frame.tone[c].fixedPointValues[0].source, 80 + 20 * c) << c;
    EXPECT_NEAR(frame.tone[c].fixedPointValues[0].target, expected, 1) << c;
  }
}

// Half marker width 4 pixels: a click within 2 pixels removes the point, within 4 replaces it.
TEST_F(PreviewPipetteTest, ANeutralClickOnAPointRemovesItAndNearOneReplacesIt) {
  SetDefault<uint8_t>(gDefaults, kDefaultMidPipetteTargetOn, 1);
  SetDefault<uint8_t>(gDefaults, kDefaultMidPipetteTarget, 50);
  ASSERT_TRUE(Apply(kPipetteNeutral, Sample(100, 120, 140, 50, 50), 4));
  ASSERT_DOUBLE_EQ(frame.fixedPoints[0].x, 0.5);
  ASSERT_TRUE(Apply(kPipetteNeutral, Sample(100, 120, 140, 51, 49), 4));
  EXPECT_EQ(frame.fixedPoints[0].x, 0.0) << "removed";
  ASSERT_TRUE(Apply(kPipetteNeutral, Sample(100, 120, 140, 50, 50), 4));
  ASSERT_TRUE(Apply(kPipetteNeutral, Sample(90, 110, 130, 53, 50), 4));
  EXPECT_DOUBLE_EQ(frame.fixedPoints[0].x, 0.53) << "replaced";
  EXPECT_EQ(frame.fixedPoints[1].x, 0.0);
  EXPECT_EQ(frame.tone[1].fixedPointValues[0].source, 90);
}

}  // namespace
