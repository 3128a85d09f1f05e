// The colour quantiser: an optimal palette for a 24-bit image, and the image
// mapped onto it with serpentine error diffusion and a cache of nearest colours.
#include <cstring>

#include "imagelib/codecs.h"
#include "imagelib/octree_palette.h"
#include "imagelib/pixels.h"

namespace imagelib {

namespace {

constexpr int kCacheCells = 32 * 32 * 32;
constexpr int kErrorLimit = 20;

int LimitError(int e) { return e < -kErrorLimit ? -kErrorLimit : (e > kErrorLimit ? kErrorLimit : e); }

// Builds the palette; false when memory ran out (1) or the caller stopped (14).
bool BuildPalette(EntryWork& work, const void* src, int width, int height, int colors, bool report,
                  QuantizerPalette* palette) {
  if (report && !work.Progress(0, 4)) return false;
  OctreePalette tree;
  if (!tree.Allocated()) {
    work.error = kImageNoMemory;
    return false;
  }
  tree.AddPixels(static_cast<const uint8_t*>(src), PixelCount(width, height));
  if (report && !work.Progress(1, 4)) return false;
  tree.Reduce(colors);
  if (report && !work.Progress(2, 4)) return false;
  tree.Assign(palette);
  return !report || work.Progress(3, 4);
}

void CopyOut(const QuantizerPalette& palette, int colors, PaletteEntry* table) {
  for (int i = 0; i < colors; ++i) {
    table[i].blue = palette.blue[i];
    table[i].green = palette.green[i];
    table[i].red = palette.red[i];
  }
}

class PaletteMapper {
 public:
  PaletteMapper(const QuantizerPalette& palette, int width, bool diffusion)
      : palette_(palette),
        width_(width),
        diffusion_(diffusion),
        cache_(kCacheCells * sizeof(int16_t)),
        errors_(2 * ErrorRowBytes(width)) {
    if (cache_) std::memset(cache_.As<int16_t>(), 0xFF, kCacheCells * sizeof(int16_t));
  }

  bool Allocated() const { return cache_ && errors_; }

  void MapRow(const uint8_t* src, int y, uint8_t* dst) {
    int* here = errors_.As<int>() + (y % 2) * ErrorRowInts();
    int* below = errors_.As<int>() + (1 - y % 2) * ErrorRowInts();
    std::memset(below, 0, ErrorRowInts() * sizeof(int));
    int step = y % 2 == 0 ? 1 : -1;
    for (int n = 0, x = step > 0 ? 0 : width_ - 1; n < width_; ++n, x += step) {
      // Error terms sit one slot to the right, so that both neighbours exist.
      int* e = here + 3 * (x + 1);
      int adjusted[3];
      for (int c = 0; c < 3; ++c)
        adjusted[c] = ClampToByte(src[3 * x + c] + (diffusion_ ? (e[c] + 8) >> 4 : e[c] >> 1));
      int index = Lookup(adjusted);
      dst[x] = static_cast<uint8_t>(index);
      const uint8_t chosen[3] = {palette_.red[index], palette_.green[index], palette_.blue[index]};
      for (int c = 0; c < 3; ++c) {
        int error = LimitError(adjusted[c] - chosen[c]);
        int* b = below + 3 * (x + 1) + c;
        if (diffusion_) {
          e[3 * step + c] += 7 * error;
          b[-3 * step] += 3 * error;
          b[0] += 5 * error;
          b[3 * step] += error;
        } else {
          e[3 * step + c] += error;
          b[0] += error;
        }
      }
    }
  }

 private:
  static uint64_t ErrorRowBytes(int width) { return (static_cast<uint64_t>(width) + 2) * 3 * sizeof(int); }
  size_t ErrorRowInts() const { return (static_cast<size_t>(width_) + 2) * 3; }

  int Lookup(const int* rgb) {
    int16_t& cell = cache_.As<int16_t>()[(rgb[0] >> 3) << 10 | (rgb[1] >> 3) << 5 | (rgb[2] >> 3)];
    if (cell < 0) cell = static_cast<int16_t>(Nearest(rgb));
    return cell;
  }

  int Nearest(const int* rgb) const {
    int best = 0;
    int best_distance = -1;
    for (int i = 0; i < palette_.count; ++i) {
      int dr = rgb[0] - palette_.red[i], dg = rgb[1] - palette_.green[i], db = rgb[2] - palette_.blue[i];
      int distance = dr * dr + dg * dg + db * db;
      if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
    }
    return best;
  }

  const QuantizerPalette& palette_;
  int width_;
  bool diffusion_;
  ScratchBlock cache_;
  ScratchBlock errors_;
};

}  // namespace

bool ComputeOptimalPalette(EntryWork& work, const void* src, int width, int height, int colors,
                           PaletteEntry* palette) {
  QuantizerPalette built;
  if (!BuildPalette(work, src, width, height, colors, true, &built)) return false;
  CopyOut(built, colors, palette);
  return true;
}

bool QuantizeToPalette(EntryWork& work, const void* src, int width, int height, void* dst, int colors,
                       PaletteEntry* palette, int option) {
  QuantizerPalette built;
  if (!BuildPalette(work, src, width, height, colors, false, &built)) return false;
  PaletteMapper mapper(built, width, option != 0);
  if (!mapper.Allocated()) {
    work.error = kImageNoMemory;
    return false;
  }
  const auto* in = static_cast<const uint8_t*>(src);
  auto* out = static_cast<uint8_t*>(dst);
  for (int y = 0; y < height; ++y) {
    size_t row = static_cast<size_t>(y) * static_cast<size_t>(width);
    mapper.MapRow(in + row * kRgbBytes, y, out + row);
    if (!work.Progress(y + 1, height)) return false;
  }
  CopyOut(built, colors, palette);
  return true;
}

}  // namespace imagelib
