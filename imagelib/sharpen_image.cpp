// Sharpening by a 3 x 3 Laplacian: each value moves away from the mean of its
// eight neighbours; the image edge repeats its outermost pixels.
#include <algorithm>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/pixels.h"

using namespace imagelib;

extern "C" int SharpenImage(const void* src, int width, int height, void* dst, int amount) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!src || !dst || src == dst || !ValidSize(width, height)) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  if (amount > 99) amount = 100;
  if (amount < 1) amount = 0;
  double k = amount * 0.005;
  const auto* in = static_cast<const uint8_t*>(src);
  auto* out = static_cast<uint8_t*>(dst);
  size_t stride = static_cast<size_t>(width) * kRgbBytes;
  for (int y = 0; y < height; ++y) {
    const uint8_t* rows[3] = {in + std::max(y - 1, 0) * stride, in + y * stride,
                              in + std::min(y + 1, height - 1) * stride};
    uint8_t* line = out + y * stride;
    for (int x = 0; x < width; ++x) {
      size_t cols[3] = {static_cast<size_t>(std::max(x - 1, 0)) * kRgbBytes, static_cast<size_t>(x) * kRgbBytes,
                        static_cast<size_t>(std::min(x + 1, width - 1)) * kRgbBytes};
      for (int c = 0; c < kRgbBytes; ++c) {
        int centre = rows[1][cols[1] + c];
        int sum = -centre;
        for (const uint8_t* row : rows)
          for (size_t col : cols) sum += row[col + c];
        line[cols[1] + c] = TruncateToByte(centre - k * (sum - 8 * centre));
      }
    }
    if (!work.Progress(y, height)) return 0;
  }
  return work.Succeeded();
}
