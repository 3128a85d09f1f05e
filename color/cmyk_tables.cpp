#include "color/cmyk_tables.h"

#include <algorithm>
#include <vector>

#include "color/color_management.h"
#include "color/color_module.h"
#include "color/profile_files.h"
#include "color/profile_writer.h"
#include "foundation/bits.h"
#include "foundation/file_io.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

CmykConversionTables gCmykConversionTables = {};

namespace {

constexpr int32_t kOne = 65536;
constexpr uint32_t kGridRow = kCmykGridNodes * kCmykGridNodes;  // pixels of one translated row
constexpr uint32_t kPathSize = 260;

// One of the five tetrahedra of a grid cube: the base corner and three
// corners as byte offsets from the cell's first node, with 16.16 weights.
struct Tetrahedron {
  uint32_t base;
  uint32_t corners[3];
  int32_t weights[3];
};

// sx, sy, sz: byte strides of the three axes.
inline Tetrahedron PickTetrahedron(int32_t fx, int32_t fy, int32_t fz, uint32_t sx, uint32_t sy, uint32_t sz) {
  if (fx + fy + fz <= kOne) return {0, {sx, sy, sz}, {fx, fy, fz}};
  if (fz - fx + fy >= kOne) return {sy + sz, {sx + sy + sz, sz, sy}, {fx, kOne - fy, kOne - fz}};
  if (fz - fy + fx >= kOne) return {sx + sz, {sz, sx + sy + sz, sx}, {kOne - fx, fy, kOne - fz}};
  if (fx + fy - fz >= kOne) return {sx + sy, {sy, sx, sx + sy + sz}, {kOne - fx, kOne - fy, fz}};
  return {sx + sy + sz,
          {sx, sy, sz},
          {(fx - fy - fz + kOne) / 2, (fy - fx - fz + kOne) / 2, (fz - fx - fy + kOne) / 2}};
}

// Σ weight x (corner - base) of byte c of the nodes.
inline int32_t WeightedDifference(const uint8_t* cell, const Tetrahedron& t, uint32_t c) {
  const int32_t base = cell[t.base + c];
  return t.weights[0] * (cell[t.corners[0] + c] - base) + t.weights[1] * (cell[t.corners[1] + c] - base) +
         t.weights[2] * (cell[t.corners[2] + c] - base);
}

// The forward cell of an L*a*b* pixel and its tetrahedron.
inline const uint8_t* ForwardCell(const uint8_t* table, const uint16_t* in, uint32_t inPlaneStride, Tetrahedron* t) {
  const uint32_t x = in[0], y = in[inPlaneStride], z = in[2 * inPlaneStride];
  *t = PickTetrahedron(static_cast<int32_t>(x & 2047) * 32, static_cast<int32_t>(y & 2047) * 32,
                       static_cast<int32_t>(z & 2047) * 32, kGridRow * 4, kCmykGridNodes * 4, 4);
  return table + (((x >> 11) * kCmykGridNodes + (y >> 11)) * kCmykGridNodes + (z >> 11)) * 4;
}

// g_n = floor(n x 1023 / 32 + 0.5) and c_n = floor(n x 255 / 32 + 0.5).
uint32_t GridLab10(uint32_t n) { return (n * 1023 + 16) / 32; }
uint8_t GridInk(uint32_t n) { return static_cast<uint8_t>((n * 255 + 16) / 32); }

std::vector<uint32_t> LabGrid() {
  std::vector<uint32_t> grid(kCmykGridSize);
  for (uint32_t i = 0; i < kCmykGridNodes; ++i)
    for (uint32_t j = 0; j < kCmykGridNodes; ++j)
      for (uint32_t k = 0; k < kCmykGridNodes; ++k)
        grid[(i * kCmykGridNodes + j) * kCmykGridNodes + k] = GridLab10(i) << 20 | GridLab10(j) << 10 | GridLab10(k);
  return grid;
}

// Each 32-bit 10-bit L*a*b* result as three bytes.
void StoreLab10AsBytes(const std::vector<uint32_t>& lab, uint8_t* out) {
  for (uint32_t v : lab) {
    *out++ = static_cast<uint8_t>(v >> 22);
    *out++ = static_cast<uint8_t>(v >> 12);
    *out++ = static_cast<uint8_t>(v >> 2);
  }
}

bool TranslateGrid(ColorTransformHandle transform, const void* in, uint32_t inFormat, void* out, uint32_t outFormat) {
  return CmsTranslateBitmapBits(transform, in, inFormat, kGridRow, kCmykGridNodes, kGridRow * 4, out, outFormat,
                                kGridRow * 4);
}

// Forward table and gamut bits through F = L*a*b* -> CMYK; false when the forward table cannot be made.
bool SampleForward(ColorTransformHandle forward) {
  const std::vector<uint32_t> grid = LabGrid();
  gCmykConversionTables.forward = NewMemHandle(kCmykForwardBytes);
  if (!gCmykConversionTables.forward) return false;
  // A failed translation would leave a zero table that separates every colour to full ink.
  if (!TranslateGrid(forward, grid.data(), kBitmap10Lab, gCmykConversionTables.forward->data, kBitmapKymcQuads)) {
    DisposeMemHandle(gCmykConversionTables.forward);
    gCmykConversionTables.forward = nullptr;
    return false;
  }
  InvertByteSpan(gCmykConversionTables.forward->data, kCmykForwardBytes);

  std::vector<uint8_t> outside(kCmykGridSize);
  MemHandle gamut = NewMemHandle(kCmykGamutBytes);
  if (!gamut) return true;
  bool keep = CmsCheckBitmapBits(forward, grid.data(), kBitmap10Lab, kGridRow, kCmykGridNodes, kGridRow * 4,
                                 outside.data());
  if (keep) {
    for (uint32_t n = 0; n < kCmykGridSize; ++n)
      if (outside[n]) gamut->data[n >> 3] |= static_cast<uint8_t>(0x80 >> (n & 7));
    InvertByteSpan(gamut->data, kCmykGamutBytes);
    const uint8_t* bytes = gamut->data;
    const bool allClear = std::all_of(bytes, bytes + kCmykGamutBytes, [](uint8_t b) { return b == 0; });
    const bool allSet = std::all_of(bytes, bytes + kCmykGamutBytes, [](uint8_t b) { return b == 255; });
    keep = !allClear && !allSet;
  }
  if (keep) {
    gCmykConversionTables.gamut = gamut;
  } else {
    DisposeMemHandle(gamut);
  }
  return true;
}

// Reverse table through R = CMYK -> L*a*b*; false when it cannot be made.
bool SampleReverseInto(ColorTransformHandle reverse) {
  gCmykConversionTables.reverse = NewMemHandle(kCmykReverseBytes);
  if (!gCmykConversionTables.reverse) return false;
  uint8_t* table = gCmykConversionTables.reverse->data;
  std::vector<uint8_t> quads(kCmykGridSize * 4);
  for (uint32_t i = 0; i < kCmykGridNodes; ++i)
    for (uint32_t j = 0; j < kCmykGridNodes; ++j)
      for (uint32_t k = 0; k < kCmykGridNodes; ++k) {
        uint8_t* q = &quads[((i * kCmykGridNodes + j) * kCmykGridNodes + k) * 4];
        q[0] = static_cast<uint8_t>(255 - GridInk(i));
        q[1] = static_cast<uint8_t>(255 - GridInk(j));
        q[2] = static_cast<uint8_t>(255 - GridInk(k));
        q[3] = 0;
      }
  std::vector<uint32_t> lab(kCmykGridSize);
  if (!TranslateGrid(reverse, quads.data(), kBitmapKymcQuads, lab.data(), kBitmap10Lab)) return false;
  StoreLab10AsBytes(lab, table);

  std::vector<uint8_t> ramp(256 * 4);
  for (uint32_t v = 0; v < 256; ++v) ramp[v * 4 + 3] = static_cast<uint8_t>(255 - v);
  lab.assign(256, 0);
  if (!CmsTranslateBitmapBits(reverse, ramp.data(), kBitmapKymcQuads, 256, 1, 1024, lab.data(), kBitmap10Lab, 1024))
    return false;
  StoreLab10AsBytes(lab, table + kCmykReverseGridBytes);
  return true;
}

// A half-made reverse table would proof every colour as black: it goes.
bool SampleReverse(ColorTransformHandle reverse) {
  if (SampleReverseInto(reverse)) return true;
  if (gCmykConversionTables.reverse) DisposeMemHandle(gCmykConversionTables.reverse);
  gCmykConversionTables.reverse = nullptr;
  return false;
}

bool SampleCmykProfile(const char* path) {
  if (!gIcmEnabled) return false;
  ColorProfileHandle lab = nullptr, cmyk = nullptr;
  if (!CreateLabIdentityProfile(&lab)) return false;
  const ColorProfileLocation location = FileProfileLocation(path);
  if (CmsOpenColorProfile(&cmyk, &location, 0) != 0) {
    CmsCloseColorProfile(lab);
    return false;
  }
  bool forwardMade = false, reverseMade = false;
  ColorTransformHandle transform = nullptr;
  if (CmsCreateMultiProfileTransform(&transform, lab, cmyk, 1) == 0) {
    forwardMade = SampleForward(transform);
    CmsDeleteColorTransform(transform);
  }
  transform = nullptr;
  if (CmsCreateMultiProfileTransform(&transform, cmyk, lab, 0) == 0) {
    reverseMade = SampleReverse(transform);
    CmsDeleteColorTransform(transform);
  }
  CmsCloseColorProfile(cmyk);
  CmsCloseColorProfile(lab);
  return forwardMade && reverseMade;
}

// Reads a table of the file into a new handle at the offset; false on a short
// read, which keeps no half-read table.
bool ReadTable(FileHandle file, uint64_t offset, uint32_t size, MemHandle* table) {
  *table = NewMemHandle(size);
  if (*table && ReadBytesAt(file, offset, (*table)->data, size)) return true;
  if (*table) DisposeMemHandle(*table);
  *table = nullptr;
  return false;
}

bool ReadTableFile(FileHandle file) {
  uint64_t size = 0;
  if (!GetFileSize(file, &size) || size == 0) return false;
  CmykConversionTables& t = gCmykConversionTables;
  if (size == kCmykForwardBytes) return ReadTable(file, 0, kCmykForwardBytes, &t.forward);
  if (size == kCmykReverseBytes) return ReadTable(file, 0, kCmykReverseBytes, &t.reverse);
  uint8_t header[4];
  if (!ReadBytesAt(file, 0, header, sizeof header)) return false;
  if ((header[0] << 8 | header[1]) != kCmykTableFileVersion || header[2] == 0) return false;
  uint64_t at = sizeof header;
  if (!ReadTable(file, at, kCmykForwardBytes, &t.forward)) return false;
  at += kCmykForwardBytes;
  if (!ReadTable(file, at, kCmykReverseBytes, &t.reverse)) return false;
  at += kCmykReverseBytes;
  uint8_t flag[2];
  if (!ReadBytesAt(file, at, flag, sizeof flag)) return false;
  return flag[0] == 0 || ReadTable(file, at + sizeof flag, kCmykGamutBytes, &t.gamut);
}

bool ReadCmykTableFile(const char* path) {
  FileHandle file = OpenExistingFileReadWrite(path);
  if (!file) return false;
  const bool read = ReadTableFile(file);
  CloseFile(file);
  return read;
}

void Dispose(MemHandle* table) {
  if (*table) DisposeMemHandle(*table);
  *table = nullptr;
}

}  // namespace

bool LoadCmykConversionTables() {
  FreeCmykConversionTables();
  char path[kPathSize], extension[kPathSize];
  if (DefaultsBytes(gDefaults, kDefaultCmykSourceName)[0] == 0 || !FindCmykProfileFile(path, extension)) return false;
  return IsIccExtension(extension) ? SampleCmykProfile(path) : ReadCmykTableFile(path);
}

void FreeCmykConversionTables() {
  Dispose(&gCmykConversionTables.forward);
  Dispose(&gCmykConversionTables.reverse);
  Dispose(&gCmykConversionTables.gamut);
}

void SeparateLine16(const uint16_t* in, uint16_t* out, int32_t count, uint32_t inStep, uint32_t inPlaneStride,
                    uint32_t outStep, uint32_t outPlaneStride) {
  if (!gCmykConversionTables.forward) return;
  const uint8_t* table = gCmykConversionTables.forward->data;
  constexpr float kScale = 1.0f / (255.0f * 65536.0f);
  for (int32_t n = 0; n < count; ++n, in += inStep, out += outStep) {
    Tetrahedron t;
    const uint8_t* cell = ForwardCell(table, in, inPlaneStride, &t);
    for (uint32_t c = 0; c < 4; ++c) {
      // base x 65536 + the weighted differences stays within 0..255 x 65536: exact in single precision.
      const int32_t sum = cell[t.base + c] * kOne + WeightedDifference(cell, t, c);
      const float v = std::min(1.0f, std::max(0.0f, static_cast<float>(sum) * kScale));
      out[c * outPlaneStride] = static_cast<uint16_t>((1.0f - v) * 65535.0f);
    }
  }
}

void SeparateLine16To8(const uint16_t* in, uint8_t* out, int32_t count, uint32_t inStep, uint32_t inPlaneStride,
                       uint32_t outStep, uint32_t outPlaneStride) {
  if (!gCmykConversionTables.forward) return;
  const uint8_t* table = gCmykConversionTables.forward->data;
  for (int32_t n = 0; n < count; ++n, in += inStep, out += outStep) {
    Tetrahedron t;
    const uint8_t* cell = ForwardCell(table, in, inPlaneStride, &t);
    for (uint32_t c = 0; c < 4; ++c) {
      const int32_t v = cell[t.base + c] + ((WeightedDifference(cell, t, c) + 32767) >> 16);
      out[c * outPlaneStride] = static_cast<uint8_t>(255 - std::min(255, std::max(0, v)));
    }
  }
}

void ProofCmykLine(const uint8_t* cmyk, uint16_t* labOut, uint8_t* blackLabOut, int32_t count, uint32_t inStep,
                   int32_t inPlaneStride, uint32_t outStep, uint32_t outPlaneStride) {
  if (!gCmykConversionTables.reverse) return;
  const uint8_t* table = gCmykConversionTables.reverse->data;
  const uint8_t* ramp = table + kCmykReverseGridBytes;
  for (int32_t n = 0; n < count; ++n, cmyk += inStep, labOut += outStep, blackLabOut += outStep) {
    const uint32_t x = 255u - cmyk[0], y = 255u - cmyk[inPlaneStride], z = 255u - cmyk[2 * inPlaneStride];
    const Tetrahedron t = PickTetrahedron(static_cast<int32_t>(x & 7) * 8192, static_cast<int32_t>(y & 7) * 8192,
                                          static_cast<int32_t>(z & 7) * 8192, kGridRow * 3, kCmykGridNodes * 3, 3);
    const uint8_t* cell = table + (((x >> 3) * kCmykGridNodes + (y >> 3)) * kCmykGridNodes + (z >> 3)) * 3;
    for (uint32_t c = 0; c < 3; ++c) {
      const int32_t v = cell[t.base + c] * kOne + WeightedDifference(cell, t, c) + 127;
      labOut[c * outPlaneStride] = static_cast<uint16_t>(std::min(16777215, std::max(0, v)) >> 8);
    }
    const uint8_t* black = ramp + (255u - cmyk[3 * inPlaneStride]) * 3;
    for (uint32_t c = 0; c < 3; ++c) blackLabOut[c * outPlaneStride] = black[c];
  }
}

bool IsInGamut(const uint16_t lab[3]) {
  if (!gCmykConversionTables.gamut) return true;
  const uint32_t i = (lab[0] + 1023u) >> 11, j = (lab[1] + 1023u) >> 11, k = (lab[2] + 1023u) >> 11;
  const uint32_t bit = (i * kCmykGridNodes + j) * kCmykGridNodes + k;
  return (gCmykConversionTables.gamut->data[bit >> 3] & (0x80 >> (bit & 7))) != 0;
}
