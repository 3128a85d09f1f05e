// The colours of the tone tools' channel buttons: red, green and blue, or
// cyan, magenta and yellow, for an RGB frame; none (0) for other frames.
#pragma once

#include <cstdint>

// COLORREF values (0x00BBGGRR) of channels 1..3; 0 for other channels or
// when the current frame is not an RGB frame.
void ChannelColour(uint32_t* colour, int channel, bool rgb);
// The colour of the channel selection (gToneChannelMask, bits 1..3): one
// channel gives its colour, two the remaining channel's colour in the other
// model, all three 0; no channel leaves the colour as it is.
void CurrentChannelColour(uint32_t* colour, bool rgb);
