// The image description of the transfer in the session block: pixel layout,
// size and resolution of the frame that is scanned.
#pragma once

#include <cstdint>

struct FrameRecord;

// Channel layouts of SetSessionPixelLayout.
enum : int { kChannelLayoutOne = 0, kChannelLayoutRgb = 2 };

// Pixel format code, samples, bits and bytes per sample, row and plane bytes
// and the channel range of the session's image, for its current columns and
// rows. The output flags of the defaults block choose four-sample or
// alternative three-sample output; highBitMode keeps 16-bit RGB as it is.
void SetSessionPixelLayout(int channelLayout, int bitsPerSample, bool highBitMode);

// The session's image description from the frame: its scan pixel size
// (exchanged under an odd number of quarter turns, halved in the filter modes
// that scan at twice the size), its pixel layout and its output resolution.
void FillSessionImageInfo(const FrameRecord* frame);
