#include "ui/frame_settings_reset.h"

#include <gtest/gtest.h>

#include <cstring>

#include "frames/frame_list.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/tone_engine_state.h"
#include "ui/tests/frame_list_fixture.h"

namespace {

class FrameSettingsReset : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 6.0};
    gScanFrame.colorMode = 2;
    gScanFrame.outputScaleX = gScanFrame.outputScaleY = 50.0f;
    DeleteAllFrames();
  }
  void TearDown() override {
    DeleteAllFrames();
    ResetDataSourceState();
  }
  // A frame whose corrections all differ from the defaults.
  static void Disturb(FrameRecord* f) {
    std::memset(f->colorValues, 9, sizeof f->colorValues);
    std::memset(f->colorExtras, 9, sizeof f->colorExtras);
    std::memset(f->selectiveColorMatrix, 9, sizeof f->selectiveColorMatrix);
    std::memset(f->colorMatrix12, 9, sizeof f->colorMatrix12);
    std::memset(f->defaultSettings, 9, sizeof f->defaultSettings);
    std::memset(f->tone, 9, sizeof f->tone);
    f->selectiveColorMode = 2;
    f->globalColorRanges = 1;
    f->globalColorOffset[3].values[4] = 77;
    f->outputScaleX = f->outputScaleY = 250.0f;
  }
};

TEST_F(FrameSettingsReset, AllKeepsOnlyTheLastFrameAsThePreviewDefaultOverTheScanArea) {
  AppendFramesAt({DRect{1, 1, 2, 2}, DRect{4, 3, 2, 2}, DRect{5, 1, 1, 1}});
  Disturb(gCurrentFrame);
  gToneChannelMask = 3;
  ResetFrameSettings(true);
  ASSERT_EQ(CountFrames(), 1);
  const FrameRecord& f = FrameListHead()->frame;
  EXPECT_EQ(f.originX, 0.0);
  EXPECT_EQ(f.originY, 0.0);
  EXPECT_EQ(f.width, 8.0);
  EXPECT_EQ(f.height, 6.0);
  EXPECT_EQ(f.globalColorRanges, 7);
  EXPECT_EQ(f.outputScaleX, 100.0f);
  EXPECT_EQ(f.colorMode, 2u);
  EXPECT_EQ(gToneChannelMask, 14);
}

TEST_F(FrameSettingsReset, AllOnAnEmptyListGivesOnePreviewDefaultFrame) {
  ResetFrameSettings(true);
  ASSERT_EQ(CountFrames(), 1);
  EXPECT_EQ(FrameListHead()->frame.width, 8.0);
}

TEST_F(FrameSettingsReset, NotAllResetsTheCorrectionsOfTheSelectedChannelsOnly) {
  AppendFramesAt({DRect{1, 1, 2, 2}, DRect{4, 3, 2, 2}});
  DefaultsBlock& defaults = gDataSourceState.frameStateArea.defaults;
  for (int i = 0; i < 9; ++i) DefaultsBytes(defaults, kDefaultFrameSettings)[i] = static_cast<uint8_t>(40 + i);
  for (int i = 0; i < 6; ++i) DefaultsBytes(defaults, kDefaultColorValues)[i] = static_cast<uint8_t>(60 + i);
  std::memset(&gToneWorkingCopy, 3, sizeof gToneWorkingCopy);
  FrameRecord* f = gCurrentFrame;
  Disturb(f);
  f->colorMode = 1;
  gToneChannelMask = 5;  // the master and channel 2
  ResetFrameSettings(false);

  ASSERT_EQ(CountFrames(), 2);
  EXPECT_EQ(f->originX, 1.0);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(f->defaultSettings[i], 40 + i);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(f->colorValues[i], 60 + i);
    EXPECT_EQ(f->colorExtras[i], 0);
  }
  for (int16_t v : f->selectiveColorMatrix) EXPECT_EQ(v, 0);
  for (int16_t v : f->colorMatrix12) EXPECT_EQ(v, 0);
  EXPECT_EQ(f->selectiveColorMode, 1u);
  for (int k = 0; k < 4; ++k) {
    const bool selected = k == 0 || k == 2;
    EXPECT_EQ(std::memcmp(&f->tone[k], &gToneWorkingCopy, sizeof(ToneBlock)) == 0, selected) << "block " << k;
  }
  EXPECT_EQ(f->outputScaleX, 100.0f);
  EXPECT_EQ(f->outputScaleY, 100.0f);
  EXPECT_EQ(f->globalColorRanges, 7);
  for (const GlobalColorGroup& g : f->globalColorOffset)
    for (int16_t v : g.values) EXPECT_EQ(v, 0);
  EXPECT_EQ(gToneChannelMask, 1);
}

}  // namespace
