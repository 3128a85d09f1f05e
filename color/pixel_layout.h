// Layout changes of pixel rows: the converters between planar rows (each
// channel of a row a run of width samples) and interleaved pixels, and the
// packers of the colour transforms. No arithmetic on the samples.
#pragma once

#include <cstdint>

// Rows of planes to pixels and back; nothing when rows < 1, empty rows when
// width < 1. Source and target are different buffers.
void Planar3ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width);
void Planar3ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width);
void Planar4ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width);
void Planar4ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width);
// Blue, green, red order, as bitmaps keep their pixels; no row padding.
void Planar3ToBgr8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width);
void InterleavedToPlanar3x8(const uint8_t* pixels, uint8_t* planes, int32_t rows, int32_t width);
void InterleavedToPlanar3x16(const uint16_t* pixels, uint16_t* planes, int32_t rows, int32_t width);

// The packers of the colour transforms, count pixels each. A 4-byte pixel
// made from three samples gets a 0 fourth byte.
void TripletsToQuads(const uint8_t* triplets, uint8_t* quads, uint32_t count);
void QuadsToTriplets(const uint8_t* quads, uint8_t* triplets, uint32_t count);
// planeCount (3 or 4) planes of count bytes, one after the other.
void PlanesToQuads(const uint8_t* planes, int planeCount, uint8_t* quads, uint32_t count);
void QuadsToPlanes(const uint8_t* quads, uint8_t* planes, int planeCount, uint32_t count);

// Where the samples of a block lie, in samples: from one row, one pixel, one
// channel to the next.
struct SampleLayout {
  int32_t rowStride;
  int32_t pixelStep;
  int32_t channelStride;
};
// Channel k to channel k over rows of width pixels.
void RepackStrided8(const uint8_t* in, SampleLayout from, uint8_t* out, SampleLayout to, int32_t rows,
                    int32_t width);
// With swap, channel 0 goes to 2 and 2 to 0.
void RepackStrided16x3(const uint16_t* in, SampleLayout from, uint16_t* out, SampleLayout to, int32_t rows,
                       int32_t width, bool swap);
void RepackStrided16x4(const uint16_t* in, SampleLayout from, uint16_t* out, SampleLayout to, int32_t rows,
                       int32_t width);
