// The row conversions of the transfers: a band row as the band producer
// leaves it (planar samples, one plane's row after the other) into a row of
// the host's memory buffer or of the native bitmap.
#pragma once

#include <cstdint>

#include "records/session_block.h"

struct MemoryRowFormat {
  int16_t planes;
  int16_t depth;
  bool invert;  // the host's pixel flavour asks for the other polarity
};

// The session's layout with the pixel flavour the host set for it: 1-bit rows
// are inverted for the chocolate flavour, 8-bit grey and RGB rows for vanilla.
MemoryRowFormat MemoryRowFormatOf(const SessionBlock& session);

// Bytes of one band row of width pixels (all planes).
uint32_t BandRowBytes(int16_t planes, int16_t depth, int32_t width);

// One row of width pixels into the host's interleaved row. 16-bit rows must
// be 2-byte aligned on both sides.
void ConvertRowForMemory(const MemoryRowFormat& format, const uint8_t* bandRow, int32_t width, uint8_t* hostRow);

// One row of width pixels into a bitmap row: 1-bit and grey rows as they
// are, RGB planes into blue, green, red pixels.
void ConvertRowForDib(int16_t imageMode, const uint8_t* bandRow, int32_t width, uint8_t* dibRow);
