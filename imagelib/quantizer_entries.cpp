// The palette entry points: argument checks and the colour-count limits
// around the quantiser.
#include <algorithm>

#include "imagelib/codecs.h"

using namespace imagelib;

namespace {

int ClampColorCount(int colors) { return std::min(std::max(colors, 1), static_cast<int>(kPaletteEntries)); }

}  // namespace

extern "C" int ReduceToPalette(const void* src, int width, int height, void* dst, int colors,
                               PaletteEntry* palette, int option) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!src || !dst || !palette || width < 0 || height < 0) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  bool done = QuantizeToPalette(work, src, width, height, dst, ClampColorCount(colors), palette, option);
  return done ? work.Succeeded() : 0;
}

extern "C" int MakeOptimalPalette(const void* src, int width, int height, int colors, PaletteEntry* palette) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!src || !palette || width < 0 || height < 0) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  bool done = ComputeOptimalPalette(work, src, width, height, ClampColorCount(colors), palette);
  return done ? work.Succeeded() : 0;
}
