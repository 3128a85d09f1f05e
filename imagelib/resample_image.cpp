// Bilinear resampling of an image with any number of bytes per pixel.
#include <algorithm>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/result_block.h"

using namespace imagelib;

namespace {

// Where a destination column samples the source: two columns and their weights.
struct ColumnSample {
  size_t left;
  size_t right;
  double left_weight;
  double right_weight;
};

double ClampPosition(double position, int size) { return std::min(std::max(position, 0.0), size - 1.0); }

void InterpolateRow(const uint8_t* src, const ColumnSample* columns, int dst_width, int bpp, double* out) {
  for (int i = 0; i < dst_width; ++i) {
    const ColumnSample& c = columns[i];
    for (int b = 0; b < bpp; ++b)
      *out++ = src[c.left * bpp + b] * c.left_weight + src[c.right * bpp + b] * c.right_weight;
  }
}

}  // namespace

extern "C" int ResampleImage(const void* src, int src_width, int src_height, void* dst, int dst_width,
                             int dst_height, int bytes_per_pixel) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!src || !dst || src_width <= 0 || src_height <= 0 || dst_width <= 0 || dst_height <= 0 ||
      bytes_per_pixel <= 0)
    return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  size_t row_values = static_cast<size_t>(dst_width) * static_cast<size_t>(bytes_per_pixel);
  ScratchBlock column_block(static_cast<uint64_t>(dst_width) * sizeof(ColumnSample));
  ScratchBlock rows_block(static_cast<uint64_t>(row_values) * 2 * sizeof(double));
  if (!column_block || !rows_block) {
    work.error = kImageNoMemory;
    return 0;
  }
  auto* columns = column_block.As<ColumnSample>();
  double x_ratio = static_cast<double>(src_width) / dst_width;
  for (int i = 0; i < dst_width; ++i) {
    double x = ClampPosition(x_ratio * i, src_width);
    int x0 = static_cast<int>(x);
    columns[i] = {static_cast<size_t>(x0), static_cast<size_t>(std::min(x0 + 1, src_width - 1)), x0 + 1 - x, x - x0};
  }

  const auto* in = static_cast<const uint8_t*>(src);
  auto* out = static_cast<uint8_t*>(dst);
  size_t src_stride = static_cast<size_t>(src_width) * static_cast<size_t>(bytes_per_pixel);
  double* upper = rows_block.As<double>();
  double* lower = upper + row_values;
  double y_ratio = static_cast<double>(src_height) / dst_height;
  for (int j = 0; j < dst_height; ++j) {
    double y = ClampPosition(j * y_ratio, src_height);
    int r = static_cast<int>(y);
    int r2 = std::min(r + 1, src_height - 1);
    InterpolateRow(in + r * src_stride, columns, dst_width, bytes_per_pixel, upper);
    InterpolateRow(in + r2 * src_stride, columns, dst_width, bytes_per_pixel, lower);
    for (size_t v = 0; v < row_values; ++v)
      *out++ = static_cast<uint8_t>(lower[v] * (y - r) + upper[v] * (r + 1 - y));
    if (!work.Progress(j, dst_height)) return 0;
  }
  return work.Succeeded();
}
