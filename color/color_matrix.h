// The twelve-colour matrix correction: a ColorMatrix12 (12 hue sectors x 6
// target colours, percent) turned into 72 lookup tables and applied per pixel
// in CMY space; and the matrix baked into an 8-bit colour cube.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "foundation/memory.h"

struct MaskRegion;

constexpr int kMatrixSectors = 12;
constexpr int kMatrixColors = 6;  // red, green, blue, cyan, magenta, yellow
constexpr int kMatrixCells = kMatrixSectors * kMatrixColors;

// One matrix cell: table[i] = trunc(i x gain + 0.5), signed values in two's complement.
struct ColorMatrixLut {
  uint16_t table[256];
  uint8_t active;  // gain is not 0
  float gain;      // percent x 0.01
};
static_assert(sizeof(ColorMatrixLut) == 520, "table, flag, gain");

struct ColorMatrixLutSet {
  int16_t matrix[kMatrixCells];  // the set's own matrix (the calibration matrix of the calibration set)
  uint16_t entryCount;           // 72 after a build, 0 when never built
  MemHandle entries;             // 72 ColorMatrixLut in cell order, kept for later builds
  int16_t greyRow[88];           // used by the calibration set only
  int16_t patchValues[1584];     // used by the calibration set only
  uint8_t enabled;               // at least one matrix value is not 0
  MaskRegion* maskRegion;        // the frame's mask relative to its top-left pixel; null: every pixel
};

// The sector weight w(s) of ink amounts c, m, y (0 when not positive).
int32_t SectorWeight(int sector, int32_t c, int32_t m, int32_t y);

// Builds the set's 72 tables from matrix (folded first) and replaces its mask
// region by the frame's mask (BuildMaskRegionForRect) when maskName and
// frameRect are given. 0, or -108 when the entry block cannot be allocated or
// the mask cannot be read (the tables are built then, without a region).
int32_t BuildColorMatrixLuts(const int16_t matrix[kMatrixCells], ColorMatrixLutSet* set, const char* maskName,
                             const WinRect* frameRect, uint8_t toPreview);

// Corrects pixelCount pixels (red at in[k x pixelStep], green + channelOffset,
// blue + 2 x channelOffset; out addressed alike, may equal in). Nothing unless
// entryCount is 72. Pixel k lies at (x0 + k, y) of the frame; outside
// maskSet's region (when it has one) it is copied unchanged.
void ApplyColorMatrix8(const uint8_t* in, uint8_t* out, const ColorMatrixLut* entries, uint16_t entryCount,
                       uint16_t pixelCount, uint16_t pixelStep, int16_t channelOffset, uint16_t x0, uint16_t y,
                       const ColorMatrixLutSet* maskSet);
void ApplyColorMatrix16(const uint16_t* in, uint16_t* out, const ColorMatrixLut* entries, uint16_t entryCount,
                        int32_t pixelCount, uint16_t pixelStep, uint16_t channelOffset, uint16_t x0, uint16_t y,
                        const ColorMatrixLutSet* maskSet);

// The set's matrix baked into an 8-bit cube (the identity run through
// ApplyColorMatrix8); the calibration set's cube comes from the calibration
// profile instead. Nothing for a null cube or a set without entries.
void BakeColorMatrixIntoCube(MemHandle cube8, const ColorMatrixLutSet* set);

// The calibration set (its matrix is the calibration matrix).
extern ColorMatrixLutSet gCalibrationSet;
