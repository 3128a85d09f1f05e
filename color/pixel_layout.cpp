#include "color/pixel_layout.h"

#include <cstddef>

namespace {

// Sample (x, c) of a row: planar rows keep channel c at c x width, pixels at x x channels.
template <typename Sample, int Channels>
void Convert(const Sample* in, Sample* out, int32_t rows, int32_t width, bool toPlanar, const int (&order)[Channels]) {
  if (rows < 1 || width < 1) return;
  const size_t rowSamples = static_cast<size_t>(Channels) * width;
  for (int32_t y = 0; y < rows; ++y) {
    const Sample* source = in + y * rowSamples;
    Sample* target = out + y * rowSamples;
    for (int32_t x = 0; x < width; ++x) {
      for (int c = 0; c < Channels; ++c) {
        const size_t planar = static_cast<size_t>(order[c]) * width + x;
        const size_t pixel = static_cast<size_t>(x) * Channels + c;
        if (toPlanar)
          target[planar] = source[pixel];
        else
          target[pixel] = source[planar];
      }
    }
  }
}

template <typename Sample, int Channels>
void Repack(const Sample* in, SampleLayout from, Sample* out, SampleLayout to, int32_t rows, int32_t width,
            const int (&order)[Channels]) {
  for (int32_t y = 0; y < rows; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const Sample* source = in + static_cast<ptrdiff_t>(y) * from.rowStride + static_cast<ptrdiff_t>(x) * from.pixelStep;
      Sample* target = out + static_cast<ptrdiff_t>(y) * to.rowStride + static_cast<ptrdiff_t>(x) * to.pixelStep;
      for (int c = 0; c < Channels; ++c) target[order[c] * to.channelStride] = source[c * from.channelStride];
    }
  }
}

}  // namespace

void Planar3ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width) {
  Convert<uint8_t, 3>(planes, out, rows, width, false, {0, 1, 2});
}
void Planar3ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width) {
  Convert<uint16_t, 3>(planes, out, rows, width, false, {0, 1, 2});
}
void Planar4ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width) {
  Convert<uint8_t, 4>(planes, out, rows, width, false, {0, 1, 2, 3});
}
void Planar4ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width) {
  Convert<uint16_t, 4>(planes, out, rows, width, false, {0, 1, 2, 3});
}
void Planar3ToBgr8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width) {
  Convert<uint8_t, 3>(planes, out, rows, width, false, {2, 1, 0});
}
void InterleavedToPlanar3x8(const uint8_t* pixels, uint8_t* planes, int32_t rows, int32_t width) {
  Convert<uint8_t, 3>(pixels, planes, rows, width, true, {0, 1, 2});
}
void InterleavedToPlanar3x16(const uint16_t* pixels, uint16_t* planes, int32_t rows, int32_t width) {
  Convert<uint16_t, 3>(pixels, planes, rows, width, true, {0, 1, 2});
}

void TripletsToQuads(const uint8_t* triplets, uint8_t* quads, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    quads[4 * i] = triplets[3 * i];
    quads[4 * i + 1] = triplets[3 * i + 1];
    quads[4 * i + 2] = triplets[3 * i + 2];
    quads[4 * i + 3] = 0;
  }
}

void QuadsToTriplets(const uint8_t* quads, uint8_t* triplets, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    triplets[3 * i] = quads[4 * i];
    triplets[3 * i + 1] = quads[4 * i + 1];
    triplets[3 * i + 2] = quads[4 * i + 2];
  }
}

void PlanesToQuads(const uint8_t* planes, int planeCount, uint8_t* quads, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i)
    for (int c = 0; c < 4; ++c) quads[4 * i + c] = c < planeCount ? planes[c * count + i] : 0;
}

void QuadsToPlanes(const uint8_t* quads, uint8_t* planes, int planeCount, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i)
    for (int c = 0; c < planeCount; ++c) planes[c * count + i] = quads[4 * i + c];
}

void RepackStrided8(const uint8_t* in, SampleLayout from, uint8_t* out, SampleLayout to, int32_t rows,
                    int32_t width) {
  Repack<uint8_t, 3>(in, from, out, to, rows, width, {0, 1, 2});
}

void RepackStrided16x3(const uint16_t* in, SampleLayout from, uint16_t* out, SampleLayout to, int32_t rows,
                       int32_t width, bool swap) {
  if (swap)
    Repack<uint16_t, 3>(in, from, out, to, rows, width, {2, 1, 0});
  else
    Repack<uint16_t, 3>(in, from, out, to, rows, width, {0, 1, 2});
}

void RepackStrided16x4(const uint16_t* in, SampleLayout from, uint16_t* out, SampleLayout to, int32_t rows,
                       int32_t width) {
  Repack<uint16_t, 4>(in, from, out, to, rows, width, {0, 1, 2, 3});
}
