// Levels of a 24-bit image: a new grey value for every grey level, either by
// equalising the levels between low and high or by a stretch that clips a
// share of the pixels at each end; each pixel then moves by its grey change.
#include <algorithm>
#include <cstdint>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/pixels.h"
#include "imagelib/result_block.h"

using namespace imagelib;

namespace {

using GreyMap = int[256];

void CountGreys(const uint8_t* grey, size_t count, int64_t histogram[256]) {
  std::fill(histogram, histogram + 256, 0);
  for (size_t i = 0; i < count; ++i) ++histogram[grey[i]];
}

// Grey values strictly between the levels spread over 0..255 by their
// cumulative share; the others stay.
void EqualiseBetween(int low, int high, const int64_t histogram[256], GreyMap map) {
  if (high < low) std::swap(low, high);
  int64_t total = 0;
  for (int v = 0; v < 256; ++v)
    if (low < v && v < high) total += histogram[v];
  int64_t cumulative = 0;
  for (int v = 0; v < 256; ++v) {
    map[v] = v;
    if (low < v && v < high) {
      cumulative += histogram[v];
      map[v] = total == 0 ? 0 : static_cast<int>(cumulative * 255 / total);
    }
  }
}

// The level on a 0..255 scale as a clip percentage, 0 to 100.
double ClipPercentage(int level_distance) {
  double percentage = level_distance * 0.39215686274509803;
  if (!(percentage > 0)) return 0;
  return percentage >= 100 ? 100 : percentage;
}

// The first grey value at which the running count reaches the given count.
int64_t LevelAtCount(const int64_t histogram[256], int64_t count) {
  int64_t sum = 0;
  for (int v = 0; v < 256; ++v) {
    sum += histogram[v];
    if (sum >= count) return v;
  }
  return 255;
}

void StretchWithClipping(int low, int high, const int64_t histogram[256], int64_t pixels, GreyMap map) {
  double n = static_cast<double>(pixels);
  auto low_count = static_cast<int64_t>(ClipPercentage(low) * 0.01 * n);
  auto high_count = static_cast<int64_t>((1 - ClipPercentage(255 - high) * 0.01) * n);
  int64_t lo = std::min(LevelAtCount(histogram, low_count), pixels);
  int64_t hi = std::min(LevelAtCount(histogram, high_count), pixels);
  int64_t from = std::min(lo, hi);
  int64_t to = std::max(lo, hi);
  for (int v = 0; v < 256; ++v)
    map[v] = from == to ? 0 : TruncateToByte((v - from) * (255.0 / static_cast<double>(to - from)));
}

}  // namespace

extern "C" int AdjustLevels(void* pixels, int width, int height, int low, int high, int mode) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!pixels || !ValidSize(width, height)) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  size_t count = PixelCount(width, height);
  ScratchBlock grey_block(count);
  if (!grey_block) {
    work.error = kImageNoMemory;
    return 0;
  }
  auto* rgb = static_cast<uint8_t*>(pixels);
  auto* grey = grey_block.As<uint8_t>();
  for (size_t i = 0; i < count; ++i) grey[i] = static_cast<uint8_t>(Luminance(rgb + i * kRgbBytes));

  int64_t histogram[256];
  CountGreys(grey, count, histogram);
  GreyMap map;
  if (mode == 1)
    EqualiseBetween(low, high, histogram, map);
  else
    StretchWithClipping(low, high, histogram, static_cast<int64_t>(count), map);

  size_t w = static_cast<size_t>(width);
  for (int row = 0; row < height; ++row) {
    uint8_t* line = grey + row * w;
    for (size_t col = 0; col < w; ++col) line[col] = static_cast<uint8_t>(map[line[col]]);
    if (!work.Progress(row, height)) return 0;
  }
  for (int row = 0; row < height; ++row) {
    for (size_t col = 0; col < w; ++col) {
      uint8_t* pixel = rgb + (row * w + col) * kRgbBytes;
      int shift = Luminance(pixel) - grey[row * w + col];
      for (int c = 0; c < kRgbBytes; ++c) pixel[c] = ClampToByte(pixel[c] - shift);
    }
    if (!work.Progress(row, height)) return 0;
  }
  return work.Succeeded();
}
