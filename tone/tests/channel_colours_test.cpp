// The channel buttons' colours by frame, channel, model and selection.
#include <gtest/gtest.h>

#include "tone/channel_colours.h"
#include "tone/tests/tone_fixture.h"

namespace {

TEST(ChannelColour, RgbAndCmyColoursOfAnRgbFrameOnly) {
  const struct {
    int channel;
    bool rgb;
    uint32_t colour;
  } cases[] = {{1, true, 0x0000EE}, {2, true, 0x00BB00}, {3, true, 0xBB0000}, {1, false, 0xCC9900},
               {2, false, 0x6600CC}, {3, false, 0x33CCFF}, {0, true, 0}, {4, false, 0}};
  ToneFixture rgbFrame;
  for (const auto& c : cases) {
    uint32_t colour = 1;
    ChannelColour(&colour, c.channel, c.rgb);
    EXPECT_EQ(colour, c.colour) << c.channel << " rgb " << c.rgb;
  }
  ToneFixture greyFrame(1);
  uint32_t colour = 1;
  ChannelColour(&colour, 1, true);
  EXPECT_EQ(colour, 0u);
}

TEST(ChannelColour, SelectionGivesOneColourOrTheRemainingOneInTheOtherModel) {
  const struct {
    uint8_t mask;
    uint32_t colour;
  } cases[] = {
      {2, 0x0000EE},   // red alone
      {8, 0xBB0000},   // blue alone
      {12, 0xCC9900},  // green and blue: cyan
      {10, 0x6600CC},  // red and blue: magenta
      {6, 0x33CCFF},   // red and green: yellow
      {14, 0},         // all three
      {1, 0x123456},   // the master only: unchanged
  };
  ToneFixture frame;
  for (const auto& c : cases) {
    gToneChannelMask = c.mask;
    uint32_t colour = 0x123456;
    CurrentChannelColour(&colour, true);
    EXPECT_EQ(colour, c.colour) << int(c.mask);
  }
}

}  // namespace
