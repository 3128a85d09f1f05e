// The record types under which frames are stored, by the kind of original.
#pragma once

#include <cstdint>

#include "foundation/record_type.h"

// The kind of original the frames belong to.
struct OriginalKind {
  bool optionUnit;    // the option unit is chosen and the device has its holder
  int16_t slot;       // holder position; 0 or less uses the slot-0 codes
  bool transparency;  // light source: reflective (false) or transparency (true)
};

// The frame-set type (set true, application store) or the frame-list type
// (set false, device store).
RecordType FrameSetRecordType(bool set, const OriginalKind& kind);

// The same for the stores of the old 5208-byte records, which the start-up
// passes move to the types above.
RecordType OldFrameSetRecordType(bool set, const OriginalKind& kind);
