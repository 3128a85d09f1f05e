#include "foundation/global_dib.h"

#include <cstring>

#include "foundation/memory.h"

GlobalDib gPreviewLattice = nullptr;
uint8_t gPreviewLatticeMode = 0;

namespace {

constexpr int32_t kPixelsPerMetre = 7874;

uint32_t StrideFor(int32_t width, uint16_t bits) { return (uint32_t{bits} * static_cast<uint32_t>(width) + 31) / 8 & ~3u; }

bool HasPixelBytes(const DibHeader* dib) { return dib && (dib->bitCount == 24 || dib->bitCount == 32); }

// The rectangle cut at the right and bottom edges; false when nothing is left.
bool ClipRect(const DibHeader* dib, int32_t left, int32_t top, int32_t* right, int32_t* bottom) {
  if (*right > GlobalDibWidth(dib)) *right = GlobalDibWidth(dib);
  if (*bottom > GlobalDibHeight(dib)) *bottom = GlobalDibHeight(dib);
  return left < *right && top < *bottom;
}

// Calls visit(pixel, column, row) for each pixel of the clipped rectangle,
// walking each row by pointer with the pixel's byte step.
template <typename Dib, typename Visit>
void ForEachPixel(Dib* dib, int32_t left, int32_t top, int32_t right, int32_t bottom, Visit visit) {
  if (!HasPixelBytes(dib) || !ClipRect(dib, left, top, &right, &bottom)) return;
  const uint32_t step = dib->bitCount / 8u;
  const uint32_t stride = GlobalDibStride(dib);
  auto* bits = GlobalDibBits(dib);
  for (int32_t y = top; y < bottom; ++y) {
    auto* p = bits + static_cast<uint32_t>(y) * stride + static_cast<uint32_t>(left) * step;
    for (int32_t x = left; x < right; ++x, p += step) visit(p, x, y);
  }
}

template <typename Dib, typename Visit>
void ForEachPixel(Dib* dib, const WinRect& r, Visit visit) {
  ForEachPixel(dib, r.left, r.top, r.right, r.bottom, visit);
}

// The pixel's red, green and blue, inverted with the flag.
struct Rgb {
  int r, g, b;
  int Sum() const { return r + g + b; }
};
Rgb ReadRgb(const uint8_t* p, bool invert) {
  Rgb c{p[2], p[1], p[0]};
  if (invert) c = {255 - c.r, 255 - c.g, 255 - c.b};
  return c;
}

void WriteRgb(uint8_t* p, int r, int g, int b) {
  p[0] = static_cast<uint8_t>(b);
  p[1] = static_cast<uint8_t>(g);
  p[2] = static_cast<uint8_t>(r);
}

bool SameGeometry(const DibHeader* a, const DibHeader* b) {
  return a && b && a->width == b->width && GlobalDibHeight(a) == GlobalDibHeight(b) && a->bitCount == b->bitCount &&
         a->compression == b->compression && a->sizeImage == b->sizeImage;
}

int ClampByte(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

}  // namespace

uint32_t GlobalDibBlockSize(int32_t height, int32_t width, uint16_t bitsPerPixel) {
  if (width <= 0 || height <= 0) return 0;
  const uint64_t size = sizeof(DibHeader) + uint64_t{StrideFor(width, bitsPerPixel)} * static_cast<uint32_t>(height);
  return size > 0x7FFFFFFF ? 0 : static_cast<uint32_t>(size);
}

GlobalDib CreateGlobalDib(int32_t height, int32_t width, uint16_t bitsPerPixel, bool topDown) {
  if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
  const uint32_t blockSize = GlobalDibBlockSize(height, width, bitsPerPixel);
  if (blockSize == 0) return nullptr;
  auto* dib = static_cast<DibHeader*>(AllocBlock(blockSize));
  if (!dib) return nullptr;
  dib->size = sizeof(DibHeader);
  dib->width = width;
  dib->height = topDown ? -height : height;
  dib->planes = 1;
  dib->bitCount = bitsPerPixel;
  dib->compression = 0;
  dib->sizeImage = blockSize - sizeof(DibHeader);
  dib->xPelsPerMeter = kPixelsPerMetre;
  dib->yPelsPerMeter = kPixelsPerMetre;
  return dib;
}

void FreeGlobalDib(GlobalDib dib) { FreeBlock(dib); }

int32_t GlobalDibWidth(const DibHeader* dib) { return dib->width; }
int32_t GlobalDibHeight(const DibHeader* dib) { return dib->height < 0 ? -dib->height : dib->height; }

void GetGlobalDibRect(WinRect* rect, const DibHeader* dib) {
  *rect = WinRect{0, 0, GlobalDibWidth(dib), GlobalDibHeight(dib)};
}

uint32_t GlobalDibStride(const DibHeader* dib) { return StrideFor(dib->width, dib->bitCount); }

uint8_t* GlobalDibBits(DibHeader* dib) {
  return reinterpret_cast<uint8_t*>(dib) + dib->size + dib->colorsUsed * 4;
}
const uint8_t* GlobalDibBits(const DibHeader* dib) {
  return reinterpret_cast<const uint8_t*>(dib) + dib->size + dib->colorsUsed * 4;
}

void FillGlobalDib(GlobalDib dib, ColorRef color) {
  ForEachPixel(dib, 0, 0, INT32_MAX, INT32_MAX, [&](uint8_t* p, int32_t, int32_t) {
    WriteRgb(p, RedOf(color), GreenOf(color), BlueOf(color));
    if (dib->bitCount == 32) p[3] = 0;
  });
}

void FillGlobalDibGradient(GlobalDib dib, ColorRef color1, ColorRef color2, bool gradient) {
  FillGlobalDib(dib, color1);
  if (!gradient || !HasPixelBytes(dib)) return;
  const int c1[3] = {RedOf(color1), GreenOf(color1), BlueOf(color1)};
  const int c2[3] = {RedOf(color2), GreenOf(color2), BlueOf(color2)};
  double step[3];
  for (int i = 0; i < 3; ++i) step[i] = c1[i] == c2[i] ? 0.0 : double(GlobalDibWidth(dib)) / (c2[i] - c1[i]);
  ForEachPixel(dib, 0, 0, INT32_MAX, INT32_MAX, [&](uint8_t* p, int32_t x, int32_t) {
    int v[3];
    for (int i = 0; i < 3; ++i) v[i] = step[i] == 0.0 ? c1[i] : ClampByte(c1[i] + static_cast<int>(x / step[i]));
    WriteRgb(p, v[0], v[1], v[2]);
  });
}

void CopyGlobalDib(const DibHeader* source, GlobalDib target) {
  if (!SameGeometry(source, target)) return;
  std::memcpy(GlobalDibBits(target), GlobalDibBits(source), source->sizeImage);
}

void CopyGlobalDibRect(const DibHeader* source, GlobalDib target, WinRect rect) {
  if (!SameGeometry(source, target) || !ClipRect(source, rect.left, rect.top, &rect.right, &rect.bottom)) return;
  const uint32_t stride = GlobalDibStride(source);
  const uint32_t step = (source->bitCount + 7u) / 8u;
  const uint32_t offset = static_cast<uint32_t>(rect.left) * step;
  const uint32_t bytes = static_cast<uint32_t>(rect.right - rect.left) * step;
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    const uint32_t at = static_cast<uint32_t>(y) * stride + offset;
    std::memcpy(GlobalDibBits(target) + at, GlobalDibBits(source) + at, bytes);
  }
}

void InvertGlobalDib(GlobalDib dib) { InvertGlobalDibRect(dib, 0, 0, INT32_MAX, INT32_MAX); }

void InvertGlobalDibRect(GlobalDib dib, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  ForEachPixel(dib, left, top, right, bottom, [](uint8_t* p, int32_t, int32_t) {
    for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(255 - p[i]);
  });
}

void ApplyLutsToGlobalDibRect(GlobalDib dib, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                              int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const uint8_t* lattice = gPreviewLatticeMode == 1 && gPreviewLattice ? GlobalDibBits(gPreviewLattice) : nullptr;
  ForEachPixel(dib, left, top, right, bottom, [&](uint8_t* p, int32_t, int32_t) {
    const int r = red[p[2]], g = green[p[1]], b = blue[p[0]];
    if (!lattice) return WriteRgb(p, r, g, b);
    const uint8_t* entry = lattice + ((r >> 3) * 1024 + (g >> 3) * 32 + (b >> 3)) * 4;
    WriteRgb(p, entry[2], entry[1], entry[0]);
  });
}

void MapGlobalDibToGrey(GlobalDib dib, int channel, const uint8_t* table, int32_t left, int32_t top, int32_t right,
                        int32_t bottom) {
  ForEachPixel(dib, left, top, right, bottom, [&](uint8_t* p, int32_t, int32_t) {
    const Rgb c = ReadRgb(p, false);
    const int source = channel == 1 ? c.r : channel == 2 ? c.g : channel == 3 ? c.b : c.Sum() / 3;
    const uint8_t v = table[source];
    WriteRgb(p, v, v, v);
  });
}

void HistogramGlobalDibRect(const DibHeader* dib, bool invert, uint32_t* red, uint32_t* green, uint32_t* blue,
                            uint32_t* grey, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  ForEachPixel(dib, left, top, right, bottom, [&](const uint8_t* p, int32_t, int32_t) {
    const Rgb c = ReadRgb(p, invert);
    ++red[c.r];
    ++green[c.g];
    ++blue[c.b];
    ++grey[c.Sum() / 3];
  });
}

bool AverageColorInGreyRange(uint8_t rgb[3], const DibHeader* dib, bool invert, int low, int high,
                             const WinRect& rect) {
  uint64_t sums[3] = {};
  uint64_t count = 0;
  ForEachPixel(dib, rect, [&](const uint8_t* p, int32_t, int32_t) {
    const Rgb c = ReadRgb(p, invert);
    const int grey = c.Sum() / 3;
    if (grey < low || grey > high) return;
    sums[0] += c.r;
    sums[1] += c.g;
    sums[2] += c.b;
    ++count;
  });
  if (count == 0) return false;
  for (int i = 0; i < 3; ++i) rgb[i] = static_cast<uint8_t>(double(sums[i]) / double(count) + 0.5);
  return true;
}

void SumGlobalDibRect(const DibHeader* dib, bool invert, uint32_t sums[3], uint32_t* count, const WinRect& rect) {
  ForEachPixel(dib, rect, [&](const uint8_t* p, int32_t, int32_t) {
    const Rgb c = ReadRgb(p, invert);
    sums[0] += static_cast<uint32_t>(c.r);
    sums[1] += static_cast<uint32_t>(c.g);
    sums[2] += static_cast<uint32_t>(c.b);
    ++*count;
  });
}

int FindExtremeBrightness(const DibHeader* dib, bool brightest, const WinRect& rect) {
  int extreme = brightest ? 0 : 765;
  ForEachPixel(dib, rect, [&](const uint8_t* p, int32_t, int32_t) {
    const int sum = ReadRgb(p, false).Sum();
    if (brightest ? sum > extreme : sum < extreme) extreme = sum;
  });
  return extreme;
}

bool FindPixelWithBrightness(GlobalDib dib, int sum, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             ColorRef* color, WinPoint* point, bool mark) {
  bool found = false;
  ForEachPixel(dib, left, top, right, bottom, [&](uint8_t* p, int32_t x, int32_t y) {
    const Rgb c = ReadRgb(p, false);
    if (c.Sum() != sum) return;
    found = true;
    *color = MakeColorRef(static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.b));
    *point = WinPoint{x, y};
    if (mark) {
      const int v = sum < 382 ? 255 : 0;
      WriteRgb(p, v, v, v);
    }
  });
  return found;
}

ColorRef AverageColorAroundPoint(const DibHeader* dib, int32_t x, int32_t y, int32_t radius) {
  const int32_t left = x - radius < 0 ? 0 : x - radius;
  const int32_t top = y - radius < 0 ? 0 : y - radius;
  uint32_t sums[3] = {};
  uint32_t count = 0;
  SumGlobalDibRect(dib, false, sums, &count, WinRect{left, top, x + radius + 1, y + radius + 1});
  if (count == 0) return 0;
  return MakeColorRef(static_cast<uint8_t>(sums[0] / count), static_cast<uint8_t>(sums[1] / count),
                      static_cast<uint8_t>(sums[2] / count));
}
