#include "tone/channel_colours.h"

#include "records/frame_record.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr uint32_t kRgbColours[3] = {0x0000EE, 0x00BB00, 0xBB0000};
constexpr uint32_t kCmyColours[3] = {0xCC9900, 0x6600CC, 0x33CCFF};

bool RgbFrame() {
  const FrameRecord* frame = ToneCurrentFrame();
  return frame && frame->colorMode == kColorModeRgb;
}

}  // namespace

void ChannelColour(uint32_t* colour, int channel, bool rgb) {
  *colour = 0;
  if (!RgbFrame() || channel < 1 || channel > 3) return;
  *colour = (rgb ? kRgbColours : kCmyColours)[channel - 1];
}

void CurrentChannelColour(uint32_t* colour, bool rgb) {
  if (!RgbFrame()) {
    *colour = 0;
    return;
  }
  const uint8_t channels = gToneChannelMask & 14;
  int selected = 0, missing = 0;
  for (int channel = 1; channel <= 3; ++channel) {
    if (channels & (1u << channel)) {
      ++selected;
    } else {
      missing = channel;
    }
  }
  if (selected == 0) return;
  if (selected == 3) {
    *colour = 0;
  } else if (selected == 2) {
    ChannelColour(colour, missing, !rgb);
  } else {
    for (int channel = 1; channel <= 3; ++channel)
      if (channels & (1u << channel)) ChannelColour(colour, channel, rgb);
  }
}
