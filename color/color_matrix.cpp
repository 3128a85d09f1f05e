#include "color/color_matrix.h"

#include <algorithm>
#include <cstdlib>

#include "color/color_cubes.h"
#include "color/calibration_tables.h"
#include "color/mask_region.h"

ColorMatrixLutSet gCalibrationSet;

namespace {

enum { kRed, kGreen, kBlue, kCyan, kMagenta, kYellow };

// Hue 0..6 of ink amounts: 0 red, 1 yellow, 2 green, 3 cyan, 4 blue, 5 magenta.
double InkHue(int32_t c, int32_t m, int32_t y) {
  const int32_t high = std::max(c, std::max(m, y));
  const int32_t low = std::min(c, std::min(m, y));
  const double d = high - low;
  if (d == 0) return 0;
  if (c == high) return m == low ? 2 + (high - y) / d : 4 - (high - m) / d;
  if (m == high) return y == low ? 4 + (high - c) / d : 6 - (high - y) / d;
  return c == low ? (high - m) / d : 2 - (high - c) / d;
}

// The nearest sector to the hue; it and its two neighbours correct the pixel.
int FirstSector(int32_t c, int32_t m, int32_t y) {
  int s = static_cast<int>(2 * InkHue(c, m, y) + 0.5) - 1;
  if (s < 0) s += kMatrixSectors;
  if (s >= kMatrixSectors) s -= kMatrixSectors;
  return s;
}

// Adds t to the ink amounts a colour column stands for.
void AddInk(int column, int32_t t, int32_t ink[3]) {
  static const bool kInks[kMatrixColors][3] = {{false, true, true}, {true, false, true}, {true, true, false},
                                               {true, false, false}, {false, true, false}, {false, false, true}};
  for (int i = 0; i < 3; ++i)
    if (kInks[column][i]) ink[i] += t;
}

// The three sectors' corrections of one pixel's ink amounts; amount(entry, w)
// gives the entry's value for weight w (0 at or below the threshold).
template <typename Amount>
void CorrectInks(const ColorMatrixLut* entries, int32_t ink[3], Amount amount) {
  const int32_t c = ink[0], m = ink[1], y = ink[2];
  const int first = FirstSector(c, m, y);
  for (int k = 0; k < 3; ++k) {
    const int sector = (first + k) % kMatrixSectors;
    const int32_t w = SectorWeight(sector, c, m, y);
    for (int j = 0; j < kMatrixColors; ++j) {
      const ColorMatrixLut& entry = entries[sector * kMatrixColors + j];
      if (entry.active) AddInk(j, amount(entry, w), ink);
    }
  }
}

int32_t Clamp(int32_t v, int32_t high) { return v < 0 ? 0 : (v > high ? high : v); }

// A pixel outside the mask passes unchanged.
template <typename Sample>
void CopyPixel(const Sample* in, Sample* out, int32_t channelOffset) {
  const Sample r = in[0], g = in[channelOffset], b = in[2 * channelOffset];
  out[0] = r;
  out[channelOffset] = g;
  out[2 * channelOffset] = b;
}

// The set's mask region, null when every pixel is corrected.
const MaskRegion* RegionOf(const ColorMatrixLutSet* maskSet) { return maskSet ? maskSet->maskRegion : nullptr; }

}  // namespace

int32_t SectorWeight(int sector, int32_t c, int32_t m, int32_t y) {
  int32_t w = 0;
  switch (sector) {
    case 0: w = std::min(m, y) - std::abs(m - y) - c; break;
    case 1: w = 2 * std::min(std::min(m, y) - c, y - std::max(c, m)); break;
    case 2: w = y - std::abs(c - m) - std::max(c, m); break;
    case 3: w = 2 * std::min(std::min(c, y) - m, y - std::max(c, m)); break;
    case 4: w = std::min(c, y) - std::abs(c - y) - m; break;
    case 5: w = 2 * std::min(std::min(c, y) - m, c - std::max(m, y)); break;
    case 6: w = c - std::abs(m - y) - std::max(m, y); break;
    case 7: w = 2 * std::min(std::min(c, m) - y, c - std::max(m, y)); break;
    case 8: w = std::min(c, m) - std::abs(c - m) - y; break;
    case 9: w = 2 * std::min(std::min(c, m) - y, m - std::max(c, y)); break;
    case 10: w = m - std::abs(c - y) - std::max(c, y); break;
    case 11: w = 2 * std::min(std::min(m, y) - c, m - std::max(c, y)); break;
    default: break;
  }
  return w > 0 ? w : 0;
}

int32_t BuildColorMatrixLuts(const int16_t matrix[kMatrixCells], ColorMatrixLutSet* set, const char* maskName,
                             const WinRect* frameRect, uint8_t toPreview) {
  // Red, green and blue columns fold into their two inks when the row
  // (as given) also uses one of those inks.
  int16_t folded[kMatrixCells];
  std::copy(matrix, matrix + kMatrixCells, folded);
  static const int kFold[3][3] = {{kRed, kMagenta, kYellow}, {kGreen, kCyan, kYellow}, {kBlue, kCyan, kMagenta}};
  for (int row = 0; row < kMatrixSectors; ++row) {
    const int16_t* given = matrix + row * kMatrixColors;
    int16_t* work = folded + row * kMatrixColors;
    for (const auto& f : kFold) {
      if (given[f[0]] == 0 || (given[f[1]] == 0 && given[f[2]] == 0)) continue;
      work[f[1]] = static_cast<int16_t>(work[f[1]] + work[f[0]]);
      work[f[2]] = static_cast<int16_t>(work[f[2]] + work[f[0]]);
      work[f[0]] = 0;
    }
  }

  set->enabled = 0;
  if (!set->entries) set->entries = NewMemHandle(kMatrixCells * sizeof(ColorMatrixLut));
  if (!set->entries) return -108;
  ColorMatrixLut* entries = reinterpret_cast<ColorMatrixLut*>(set->entries->data);
  for (int cell = 0; cell < kMatrixCells; ++cell) {
    ColorMatrixLut& e = entries[cell];
    if (folded[cell] != 0) set->enabled = 1;
    e.gain = static_cast<float>(folded[cell] * 0.01);
    e.active = e.gain != 0;
    for (int i = 0; i < 256; ++i) e.table[i] = static_cast<uint16_t>(static_cast<int32_t>(i * double{e.gain} + 0.5));
  }
  set->entryCount = kMatrixCells;
  ClearRegionSlot(&set->maskRegion, 0);
  if (!maskName || !frameRect) return 0;
  return BuildMaskRegionForRect(&set->maskRegion, maskName, *frameRect, toPreview);
}

void ApplyColorMatrix8(const uint8_t* in, uint8_t* out, const ColorMatrixLut* entries, uint16_t entryCount,
                       uint16_t pixelCount, uint16_t pixelStep, int16_t channelOffset, uint16_t x0, uint16_t y,
                       const ColorMatrixLutSet* maskSet) {
  if (entryCount != kMatrixCells || !entries) return;
  const MaskRegion* region = RegionOf(maskSet);
  for (uint32_t k = 0; k < pixelCount; ++k, in += pixelStep, out += pixelStep) {
    if (region && !MaskRegionContains(region, x0 + static_cast<int32_t>(k), y)) {
      CopyPixel(in, out, channelOffset);
      continue;
    }
    int32_t ink[3] = {255 - in[0], 255 - in[channelOffset], 255 - in[2 * channelOffset]};
    CorrectInks(entries, ink, [](const ColorMatrixLut& e, int32_t w) {
      return w - 15 > 0 ? static_cast<int32_t>(static_cast<int16_t>(e.table[w - 15])) : 0;
    });
    out[0] = static_cast<uint8_t>(255 - Clamp(ink[0], 255));
    out[channelOffset] = static_cast<uint8_t>(255 - Clamp(ink[1], 255));
    out[2 * channelOffset] = static_cast<uint8_t>(255 - Clamp(ink[2], 255));
  }
}

void ApplyColorMatrix16(const uint16_t* in, uint16_t* out, const ColorMatrixLut* entries, uint16_t entryCount,
                        int32_t pixelCount, uint16_t pixelStep, uint16_t channelOffset, uint16_t x0, uint16_t y,
                        const ColorMatrixLutSet* maskSet) {
  if (entryCount != kMatrixCells || !entries) return;
  const MaskRegion* region = RegionOf(maskSet);
  for (int32_t k = 0; k < pixelCount; ++k, in += pixelStep, out += pixelStep) {
    if (region && !MaskRegionContains(region, x0 + k, y)) {
      CopyPixel(in, out, channelOffset);
      continue;
    }
    int32_t ink[3] = {65535 - in[0], 65535 - in[channelOffset], 65535 - in[2 * channelOffset]};
    CorrectInks(entries, ink, [](const ColorMatrixLut& e, int32_t w) {
      return w - 3840 > 0 ? static_cast<int32_t>((w - 3840) * double{e.gain} + 0.5) : 0;
    });
    out[0] = static_cast<uint16_t>(65535 - Clamp(ink[0], 65535));
    out[channelOffset] = static_cast<uint16_t>(65535 - Clamp(ink[1], 65535));
    out[2 * channelOffset] = static_cast<uint16_t>(65535 - Clamp(ink[2], 65535));
  }
}

void BakeColorMatrixIntoCube(MemHandle cube8, const ColorMatrixLutSet* set) {
  if (!cube8 || !set || !set->entries) return;
  if (set == &gCalibrationSet && CalibrationHoldsCube()) {
    UnitDoublesToU8(cube8->data, CalibrationCubeTable(), kCubeEntries * 3);
    return;
  }
  InitIdentityCube8(cube8->data);
  ApplyColorMatrix8(cube8->data, cube8->data, reinterpret_cast<const ColorMatrixLut*>(set->entries->data),
                    set->entryCount, static_cast<uint16_t>(kCubeEntries), 3, 1, 0, 0, nullptr);
}
