// Blending a source image into a rectangle of the destination with an opacity.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/pixels.h"

using namespace imagelib;

namespace {

int64_t ClampTo(int64_t value, int64_t limit) { return std::min(std::max<int64_t>(value, 0), limit); }

}  // namespace

extern "C" int BlendImages(void* dst, int dst_width, int dst_height, const void* src, int src_width,
                           int src_height, int x, int y, double opacity, int table) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!dst || !src || dst == src || !ValidSize(dst_width, dst_height) || !ValidSize(src_width, src_height) ||
      std::isnan(opacity))
    return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  opacity = std::min(std::max(opacity, 0.0), 1.0);
  double rest = 1 - opacity;
  uint8_t source_part[256];
  uint8_t destination_part[256];
  for (int v = 0; v < 256; ++v) {
    source_part[v] = static_cast<uint8_t>(opacity * v);
    destination_part[v] = static_cast<uint8_t>(rest * v);
  }

  int64_t col_begin = ClampTo(x, dst_width);
  int64_t col_end = ClampTo(static_cast<int64_t>(x) + src_width, dst_width);
  int64_t row_begin = ClampTo(y, dst_height);
  int64_t row_end = ClampTo(static_cast<int64_t>(y) + src_height, dst_height);
  size_t bytes = static_cast<size_t>(std::max<int64_t>(col_end - col_begin, 0)) * kRgbBytes;
  for (int64_t row = row_begin; row < row_end; ++row) {
    uint8_t* d = static_cast<uint8_t*>(dst) + (static_cast<size_t>(row) * dst_width + col_begin) * kRgbBytes;
    const uint8_t* s = static_cast<const uint8_t*>(src) +
                       (static_cast<size_t>(row - y) * src_width + static_cast<size_t>(col_begin - x)) * kRgbBytes;
    if (opacity == 1) {
      std::memcpy(d, s, bytes);
    } else if (table) {
      for (size_t i = 0; i < bytes; ++i) d[i] = static_cast<uint8_t>(source_part[s[i]] + destination_part[d[i]]);
    } else {
      for (size_t i = 0; i < bytes; ++i) d[i] = static_cast<uint8_t>(opacity * s[i] + rest * d[i]);
    }
    if (!work.Progress(static_cast<int>(row), dst_height)) return 0;
  }
  return work.Succeeded();
}
