// Grey conversion and histograms of 24-bit images.
#include <algorithm>
#include <cstring>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/pixels.h"

using namespace imagelib;

extern "C" int ConvertRgbToGrey(const void* src, int width, int height, void* dst) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!src || !dst || !ValidSize(width, height)) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  const auto* in = static_cast<const uint8_t*>(src);
  auto* out = static_cast<uint8_t*>(dst);
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col, in += kRgbBytes) *out++ = static_cast<uint8_t>(Luminance(in));
    if (!work.Progress(row, height)) return 0;
  }
  return work.Succeeded();
}

extern "C" int ComputeLumaHistogram(const void* pixels, int width, int height, int* histogram) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!pixels || !histogram || !ValidSize(width, height)) return Refuse(*context, kImageBadArgument);
  std::fill(histogram, histogram + 256, 0);
  const auto* in = static_cast<const uint8_t*>(pixels);
  for (size_t i = PixelCount(width, height); i > 0; --i, in += kRgbBytes)
    ++histogram[std::min(std::max(Luminance(in), 0), 255)];
  context->last_error = kImageOk;
  return 1;
}

extern "C" int ComputeChannelHistogram(const void* pixels, int width, int height, int mask, int* histogram) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!pixels || !histogram || !ValidSize(width, height)) return Refuse(*context, kImageBadArgument);
  int channel;
  switch (mask) {
    case 1: channel = 0; break;
    case 2: channel = 1; break;
    case 4: channel = 2; break;
    default: return Refuse(*context, kImageBadArgument);
  }
  std::fill(histogram, histogram + 256, 0);
  const auto* in = static_cast<const uint8_t*>(pixels) + channel;
  for (size_t i = PixelCount(width, height); i > 0; --i, in += kRgbBytes) ++histogram[*in];
  context->last_error = kImageOk;
  return 1;
}
