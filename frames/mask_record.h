// The stored mask ("MASK" records of the application store, id = mask
// number): the rectangle the mask was drawn on, then the region data as the
// system's region functions write it (a 32-byte header and the rectangles).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/geometry.h"
#include "foundation/record_type.h"

constexpr RecordType kMaskRecordType = TagFromString("MASK");

struct MaskRegionDataHeader {
  uint32_t size;       // 32
  uint32_t type;       // 1: rectangles
  uint32_t count;      // rectangles that follow
  uint32_t regionSize; // their bytes
  WinRect bounds;
};
struct MaskRecordHeader {
  WinRect reference;  // (0, 0, width, height) of the preview area it was drawn on
  MaskRegionDataHeader region;
};
static_assert(sizeof(MaskRegionDataHeader) == 32 && offsetof(MaskRegionDataHeader, count) == 8 &&
                  offsetof(MaskRegionDataHeader, bounds) == 16,
              "region data header");
static_assert(sizeof(MaskRecordHeader) == 48 && offsetof(MaskRecordHeader, region) == 16, "stored layout");

// The record's rectangles and reference rectangle; false when the bytes are
// no mask (short, another region kind, or a count past the record's end).
bool ParseMaskRecord(const uint8_t* data, uint32_t size, std::vector<WinRect>* area, WinRect* reference);
