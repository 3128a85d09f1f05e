// The image record of the current session: one fixed 1452-byte record, laid
// out like a host plug-in's acquire record. Only the fields named here are
// used; everything else stays zero. Several readers address fields by byte
// offset (the pixel size words, the host signature, the host colour basis),
// so every offset is pinned below.
//
// A pointer slot is 8 bytes wide so that the record keeps one layout in the
// 32-bit product and in the 64-bit host checks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/record_type.h"

template <typename T>
union SessionPointer {
  T* value;
  uint64_t slot;
};

// The host's colour basis: gamma, the x and y of red, green and blue, and the
// x and y of the white point, each 16.16. Present when gamma is non-zero.
struct SessionColourBasis {
  int32_t gamma;
  int32_t primaries[6];
  int32_t white[2];
};

#pragma pack(push, 2)

struct SessionBlock {
  uint8_t hostReserved0[16];
  int16_t imageMode;  // 0 BW, 1 grey, 3 RGB, 4 CMYK, 10 grey 16-bit, 11 RGB 16-bit
  int16_t rows;       // rows and columns lie side by side: some callers swap them as one 32-bit word
  int16_t columns;
  int16_t depth;   // bits per sample
  int16_t planes;  // samples per pixel
  int32_t horizontalResolution;  // 16.16 dots per inch
  int32_t verticalResolution;
  uint8_t hostReserved34[768];
  SessionPointer<uint8_t> bandData;
  int16_t bandTop;
  int16_t bandLeft;
  int16_t bandBottom;
  int16_t bandRight;
  int16_t firstPlane;
  int16_t lastPlane;
  int16_t columnBytes;
  int32_t rowBytes;
  int32_t planeBytes;  // bytes of one plane of a band, or of the whole one-channel image
  uint8_t hostReserved832[260];
  uint32_t hostSignature;  // a four-character tag of the host, packed like record types
  SessionPointer<void*> platformData;  // the word that holds the host's parent window
  uint8_t transferActive;
  uint8_t pad1105;
  SessionPointer<void> displayPixels;
  SessionPointer<void> handleProcedures;
  SessionPointer<void> colourServices;
  SessionPointer<void> profileData;
  int32_t profileSize;
  int32_t profileWanted;
  uint8_t hostReserved1146[6];
  SessionColourBasis colourBasis;  // 32-bit words 288 to 296 of the record
  uint8_t hostReserved1188[264];
};

#pragma pack(pop)

// Signature tags compared against hostSignature.
constexpr uint32_t kHostSignatureBupp = TagFromString("BUPP");
constexpr uint32_t kHostSignature8bim = TagFromString("8BIM");

static_assert(sizeof(SessionBlock) == 1452, "SessionBlock layout");
static_assert(offsetof(SessionBlock, imageMode) == 16, "SessionBlock layout");
static_assert(offsetof(SessionBlock, rows) == 18, "SessionBlock layout");
static_assert(offsetof(SessionBlock, columns) == 20, "SessionBlock layout");
static_assert(offsetof(SessionBlock, depth) == 22, "SessionBlock layout");
static_assert(offsetof(SessionBlock, planes) == 24, "SessionBlock layout");
static_assert(offsetof(SessionBlock, horizontalResolution) == 26, "SessionBlock layout");
static_assert(offsetof(SessionBlock, verticalResolution) == 30, "SessionBlock layout");
static_assert(offsetof(SessionBlock, bandData) == 802, "SessionBlock layout");
static_assert(offsetof(SessionBlock, bandTop) == 810, "SessionBlock layout");
static_assert(offsetof(SessionBlock, firstPlane) == 818, "SessionBlock layout");
static_assert(offsetof(SessionBlock, columnBytes) == 822, "SessionBlock layout");
static_assert(offsetof(SessionBlock, rowBytes) == 824, "SessionBlock layout");
static_assert(offsetof(SessionBlock, planeBytes) == 828, "SessionBlock layout");
static_assert(offsetof(SessionBlock, hostSignature) == 1092, "SessionBlock layout");
static_assert(offsetof(SessionBlock, platformData) == 1096, "SessionBlock layout");
static_assert(offsetof(SessionBlock, transferActive) == 1104, "SessionBlock layout");
static_assert(offsetof(SessionBlock, displayPixels) == 1106, "SessionBlock layout");
static_assert(offsetof(SessionBlock, handleProcedures) == 1114, "SessionBlock layout");
static_assert(offsetof(SessionBlock, colourServices) == 1122, "SessionBlock layout");
static_assert(offsetof(SessionBlock, profileData) == 1130, "SessionBlock layout");
static_assert(offsetof(SessionBlock, profileSize) == 1138, "SessionBlock layout");
static_assert(offsetof(SessionBlock, profileWanted) == 1142, "SessionBlock layout");
static_assert(offsetof(SessionBlock, colourBasis) == 288 * 4, "SessionBlock layout");
static_assert(offsetof(SessionBlock, colourBasis) + sizeof(SessionColourBasis) == 297 * 4, "SessionBlock layout");
