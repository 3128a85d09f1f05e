// The bitmap of a native transfer: one global block with the 40-byte header,
// a grey colour table for 1-bit and 8-bit images, and the rows bottom-up,
// each padded to 4 bytes.
#pragma once

#include <cstdint>

#include "records/session_block.h"

struct NativeDibLayout {
  uint16_t bitCount;
  uint32_t stride;     // bytes of one row
  uint32_t imageSize;  // bytes of all rows
  uint32_t colors;     // colour-table entries: 2, 256 or 0
};

// Bits per pixel as planes x depth; the rows and palette that go with it.
NativeDibLayout NativeDibLayoutOf(const SessionBlock& session);
uint32_t NativeDibBlockSize(const NativeDibLayout& layout);
// A 16.16 dots-per-inch resolution as whole pixels per metre.
int32_t PixelsPerMetre(int32_t resolution);
// Header and colour table into the block; the pixel area zeroed. Returns the first byte of the pixel area.
uint8_t* WriteNativeDibHeader(const SessionBlock& session, const NativeDibLayout& layout, uint8_t* block);
