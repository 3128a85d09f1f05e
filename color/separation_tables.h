// Separation tables of the "CB Profile\" folder (".ast"): 8-bit RGB to CMYK
// through a table indexed by hue, value and saturation, interpolated
// trilinearly with precomputed 16.16 weights.
#pragma once

#include <cstdint>

// The table: 49 hue planes x 32 value rows x 16 saturation nodes x 4 bytes
// (cyan, magenta, yellow, black). Node (h, v, s) at h x 2048 + v x 64 + s x 4.
constexpr uint32_t kSeparationTableBytes = 100352;
constexpr uint32_t kSeparationFileHeaderBytes = 512;
constexpr uint32_t kSeparationWeightSets = 2312;
// The highest base node (hue node 47 with fraction 7, the last value row,
// saturation node 15) plus its farthest corner reads past the table with
// weight 0; the allocation carries that many zeroed bytes more.
constexpr uint32_t kSeparationTablePadding = 47 * 2048 + 31 * 64 + 15 * 4 + 2116 + 4 - kSeparationTableBytes;

struct SeparationTables {
  uint8_t* table;               // kSeparationTableBytes + kSeparationTablePadding
  float* differences;           // 512: entry i = i - 256
  float* reciprocals;           // 256: 0, then 1 / i
  uint32_t* hueSteps;           // 384
  uint32_t* saturationSteps;    // 256
  uint32_t* values;             // 256
  uint32_t* weights;            // kSeparationWeightSets sets of 8
  bool ready;
};
extern SeparationTables gSeparationTables;

// Allocates whatever is missing and fills the helper tables: 0, or -1 without memory.
int16_t AllocSeparationTables();
// Reads the table of an ".ast" file (skipping its header) and complements it:
// 0, or -999 when the file does not open or is short (the table must not be used then).
int16_t LoadSeparationTables(const char* path);
// Frees all tables and clears the ready flag.
void FreeSeparationTables();

// The tables are allocated (the kernels work).
bool AreSeparationTablesReady();
// Planes in, planes out.
void SeparateLinePlanar8(const uint8_t* red, const uint8_t* green, const uint8_t* blue, uint8_t* cyan,
                         uint8_t* magenta, uint8_t* yellow, uint8_t* black, int32_t count);
// 3-byte pixels in, 4-byte pixels (c, m, y, k) out.
void SeparateLineInterleaved8(const uint8_t* rgb, uint8_t* cmyk, int32_t count);
