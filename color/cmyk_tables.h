// CMYK conversion tables: 16-bit L*a*b* separated into CMYK through tables
// sampled once from the chosen CMYK source (an ICC CMYK profile through the
// colour-management module, or a CMYK table file of "PPCMYK Profile\"), with
// the reverse table for soft proofing and the gamut bits.
#pragma once

#include <cstdint>

#include "foundation/memory.h"

// 33 nodes an axis; node n of a 16-bit L*a*b* axis stands for n x 2048.
constexpr uint32_t kCmykGridNodes = 33;
constexpr uint32_t kCmykGridSize = kCmykGridNodes * kCmykGridNodes * kCmykGridNodes;
// Forward: node ((i x 33 + j) x 33 + k) x 4 holds 255 - ink for c, m, y, k.
constexpr uint32_t kCmykForwardBytes = kCmykGridSize * 4;
// Reverse: 3-byte L*a*b* nodes of the ink mixes, then 256 entries of the black ramp.
constexpr uint32_t kCmykReverseGridBytes = kCmykGridSize * 3;
constexpr uint32_t kCmykReverseBytes = kCmykReverseGridBytes + 256 * 3;
// Gamut: one bit a forward node, most significant first; set = printable.
constexpr uint32_t kCmykGamutBytes = (kCmykGridSize + 7) / 8;
static_assert(kCmykForwardBytes == 143748 && kCmykReverseBytes == 108579 && kCmykGamutBytes == 4493, "table sizes");

// The CMYK table file (".ast" of the CMYK folder): either one table alone
// (its exact size tells which), or a header (big-endian 300, a non-zero byte,
// a pad byte), both tables, a 2-byte flag and, when its first byte is set,
// the gamut table.
constexpr uint16_t kCmykTableFileVersion = 300;

// The three tables, null when absent.
struct CmykConversionTables {
  MemHandle forward;
  MemHandle reverse;
  MemHandle gamut;
};
extern CmykConversionTables gCmykConversionTables;

// Frees the tables, then loads them for the CMYK name of the defaults: false
// when the name is empty or unresolved, or a table cannot be made or read.
bool LoadCmykConversionTables();
// Disposes the three tables and clears their handles.
void FreeCmykConversionTables();

// Strides: input channel c of pixel n at in[n x inStep + c x inPlaneStride],
// output channel c at out[n x outStep + c x outPlaneStride], in elements.
// 16-bit L*a*b* (L 0..65535, a and b offset by 32768) to C, M, Y, K inks in
// 16 or 8 bits; nothing happens without a forward table.
void SeparateLine16(const uint16_t* in, uint16_t* out, int32_t count, uint32_t inStep, uint32_t inPlaneStride,
                    uint32_t outStep, uint32_t outPlaneStride);
void SeparateLine16To8(const uint16_t* in, uint8_t* out, int32_t count, uint32_t inStep, uint32_t inPlaneStride,
                       uint32_t outStep, uint32_t outPlaneStride);
// 8-bit CMYK to the 16-bit L*a*b* of its cyan, magenta and yellow and the
// 8-bit L*a*b* of its black; nothing happens without a reverse table.
void ProofCmykLine(const uint8_t* cmyk, uint16_t* labOut, uint8_t* blackLabOut, int32_t count, uint32_t inStep,
                   int32_t inPlaneStride, uint32_t outStep, uint32_t outPlaneStride);
// The colour's nearest node is printable; true without a gamut table.
bool IsInGamut(const uint16_t lab[3]);
