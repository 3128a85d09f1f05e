// Delivery of line samples from planar lines (each channel's samples one
// after another), as the JPEG and PSD readers hold them: 8-bit samples as
// they are or through the channel's output table; 16-bit samples as words at
// output depth 16 or as their high byte, or through a table indexed by the
// sample >> 2; with grey output the mean of three channels.
#pragma once

#include <cstdint>

struct PlanarLine {
  const uint8_t* planes[3];  // start of each channel's samples on the line
  int bits;                  // 8 or 16 (16-bit samples in host order)
};

// Writes count samples of the channel from the first column into out.
// greyMean takes (R + G + B + 1) / 3 of the three planes instead; table is
// the channel's output table (256 or 16384 entries) or null.
void DeliverPlanarSamples(const PlanarLine& line, int channel, bool greyMean, uint32_t firstColumn, uint32_t count,
                          const uint8_t* table, int outputDepth, void* out);
