// Gamma correction of a 24-bit image in place through a 256-entry table.
#include <cmath>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/pixels.h"

using namespace imagelib;

extern "C" int ApplyGamma(void* pixels, int width, int height, double gamma) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!pixels || !ValidSize(width, height) || !(gamma >= 0)) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  double exponent = gamma == 0 ? 1.0 : 1.0 / gamma;
  uint8_t table[256];
  // An exponent near 0 takes values to 1.0, whose 256 must not wrap to 0.
  for (int i = 0; i < 256; ++i) table[i] = TruncateToByte(std::pow(i / 256.0, exponent) * 256);
  auto* p = static_cast<uint8_t*>(pixels);
  size_t row_bytes = static_cast<size_t>(width) * kRgbBytes;
  for (int row = 0; row < height; ++row) {
    for (size_t i = 0; i < row_bytes; ++i, ++p) *p = table[*p];
    if (!work.Progress(row, height)) return 0;
  }
  return work.Succeeded();
}
