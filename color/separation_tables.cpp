#include "color/separation_tables.h"

#include <algorithm>
#include <cstring>

#include "foundation/bits.h"
#include "foundation/file_io.h"
#include "foundation/memory.h"

SeparationTables gSeparationTables = {};

namespace {

constexpr uint32_t kHueSteps = 384;
constexpr uint32_t kValueNodes = 32;
constexpr uint32_t kSaturationFractions = 17;
constexpr uint32_t kWeightsPerSet = 8;
constexpr float kSaturationLimit = 0.99609375f;
// Byte offsets of the eight corners from the base node: (h, v, s) + (0,0,0), (0,0,1), (0,1,0), (0,1,1),
// (1,0,0), (1,0,1), (1,1,0), (1,1,1).
constexpr uint32_t kCornerOffsets[kWeightsPerSet] = {0, 4, 64, 68, 2048, 2052, 2112, 2116};

uint32_t ValueNode(uint32_t v) { return v * 255 / 31; }

template <typename T>
bool AllocMissing(T** table, uint32_t count) {
  if (!*table) *table = static_cast<T*>(AllocBlock(count * sizeof(T)));
  return *table != nullptr;
}

void FillHelperTables(SeparationTables& t) {
  for (int i = 0; i < 512; ++i) t.differences[i] = static_cast<float>(i - 256);
  t.reciprocals[0] = 0.0f;
  for (int i = 1; i < 256; ++i) t.reciprocals[i] = 1.0f / static_cast<float>(i);
  for (uint32_t i = 0; i < kHueSteps; ++i) t.hueSteps[i] = ((i & 7) * 289) << 20 | (i >> 3) * 2048;
  for (uint32_t i = 0; i < 256; ++i) t.saturationSteps[i] = (i % 17) << 20 | (i / 17) * 4;
  // Value x in segment n: its fraction f of the segment's width w (8 or 9)
  // picks the weight class f, or 8 + f in a segment of 9; 255 is the last node.
  for (uint32_t n = 0; n < kValueNodes; ++n) {
    const uint32_t start = ValueNode(n);
    const uint32_t end = n + 1 < kValueNodes ? ValueNode(n + 1) : 256;
    const uint32_t width = end - start;
    for (uint32_t x = start; x < end; ++x) {
      const uint32_t f = x - start;
      t.values[x] = ((f + (width == 9 ? 8 : 0)) * kSaturationFractions) << 20 | n * 64;
    }
  }
  for (uint32_t a = 0; a < 8; ++a) {
    for (uint32_t q = 0; q < 17; ++q) {
      const uint32_t w = q < 8 ? 8 : 9;
      const uint32_t f = q < 8 ? q : q - 8;
      for (uint32_t s = 0; s < kSaturationFractions; ++s) {
        const uint32_t A = 8 - a, F = w - f, T = 17 - s, D = 136 * w;
        const uint32_t products[kWeightsPerSet] = {0, A * F * s, A * f * T, A * f * s,
                                                   a * F * T, a * F * s, a * f * T, a * f * s};
        uint32_t* set = t.weights + ((a * 289) + q * 17 + s) * kWeightsPerSet;
        uint32_t sum = 0;
        for (uint32_t i = 1; i < kWeightsPerSet; ++i) {
          set[i] = 256 * (256 * products[i] / D);
          sum += set[i];
        }
        set[0] = 65536 - sum;
      }
    }
  }
}

// Rounds x to a multiple of one unit in the last place of offset + x (ties to
// even) and gives it in quarter units: the steps of the hue and saturation tables.
inline uint32_t QuarterStep(float offset, float x) {
  const float sum = offset + x;
  uint32_t bits;
  std::memcpy(&bits, &sum, sizeof bits);
  return (bits & 0x7FFFFF) >> 2;
}

inline void SeparatePixel(const SeparationTables& t, int32_t r, int32_t g, int32_t b, uint8_t* out) {
  int32_t sextant, difference, max;
  if (r >= g && r >= b) {
    sextant = 0, difference = g - b, max = r;
  } else if (g >= b) {
    sextant = 2, difference = b - r, max = g;
  } else {
    sextant = 4, difference = r - g, max = b;
  }
  const int32_t range = max - std::min(r, std::min(g, b));
  float hue = t.differences[256 + sextant] + t.differences[256 + difference] * t.reciprocals[range];
  if (hue < 0.0f) hue += 6.0f;
  float saturation = t.differences[256 + range] * t.reciprocals[max];
  if (saturation > kSaturationLimit) saturation = kSaturationLimit;
  const uint32_t index = t.hueSteps[QuarterStep(32768.0f, hue)] + t.saturationSteps[QuarterStep(8192.0f, saturation)] +
                         t.values[max];
  const uint8_t* node = t.table + (index & 0x1FFFC);
  const uint32_t* weights = t.weights + (index >> 20) * kWeightsPerSet;
  for (uint32_t c = 0; c < 4; ++c) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < kWeightsPerSet; ++i) sum += weights[i] * node[kCornerOffsets[i] + c];
    out[c] = static_cast<uint8_t>(sum >> 16);
  }
}

}  // namespace

int16_t AllocSeparationTables() {
  SeparationTables& t = gSeparationTables;
  const bool allocated = AllocMissing(&t.table, kSeparationTableBytes + kSeparationTablePadding) &&
                         AllocMissing(&t.differences, 512) && AllocMissing(&t.reciprocals, 256) &&
                         AllocMissing(&t.hueSteps, kHueSteps) && AllocMissing(&t.saturationSteps, 256) &&
                         AllocMissing(&t.values, 256) && AllocMissing(&t.weights, kSeparationWeightSets * kWeightsPerSet);
  if (!allocated) return -1;
  FillHelperTables(t);
  t.ready = true;
  return 0;
}

int16_t LoadSeparationTables(const char* path) {
  if (!gSeparationTables.table) return -999;
  FileHandle file = OpenFileForReading(path);
  if (!file) return -999;
  uint64_t size = 0;
  uint32_t available = 0;
  if (GetFileSize(file, &size) && size > kSeparationFileHeaderBytes) {
    available = static_cast<uint32_t>(std::min<uint64_t>(size - kSeparationFileHeaderBytes, kSeparationTableBytes));
  }
  const bool read = available > 0 && ReadBytesAt(file, kSeparationFileHeaderBytes, gSeparationTables.table, available);
  CloseFile(file);
  if (read) InvertByteSpan(gSeparationTables.table, available);
  return read && available == kSeparationTableBytes ? 0 : -999;
}

void FreeSeparationTables() {
  SeparationTables& t = gSeparationTables;
  for (void* block : {static_cast<void*>(t.table), static_cast<void*>(t.differences), static_cast<void*>(t.reciprocals),
                      static_cast<void*>(t.hueSteps), static_cast<void*>(t.saturationSteps),
                      static_cast<void*>(t.values), static_cast<void*>(t.weights)}) {
    FreeBlock(block);
  }
  t = SeparationTables{};
}

bool AreSeparationTablesReady() { return gSeparationTables.ready; }

void SeparateLinePlanar8(const uint8_t* red, const uint8_t* green, const uint8_t* blue, uint8_t* cyan,
                         uint8_t* magenta, uint8_t* yellow, uint8_t* black, int32_t count) {
  if (!gSeparationTables.ready) return;
  uint8_t pixel[4];
  for (int32_t n = 0; n < count; ++n) {
    SeparatePixel(gSeparationTables, red[n], green[n], blue[n], pixel);
    cyan[n] = pixel[0];
    magenta[n] = pixel[1];
    yellow[n] = pixel[2];
    black[n] = pixel[3];
  }
}

void SeparateLineInterleaved8(const uint8_t* rgb, uint8_t* cmyk, int32_t count) {
  if (!gSeparationTables.ready) return;
  for (int32_t n = 0; n < count; ++n, rgb += 3, cmyk += 4) SeparatePixel(gSeparationTables, rgb[0], rgb[1], rgb[2], cmyk);
}
