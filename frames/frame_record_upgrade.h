// Records of older layouts, met in stores written by earlier versions, are
// brought to the current layout (version 6) once at start-up.
#pragma once

#include <cstdint>

#include "records/defaults_block.h"
#include "records/frame_record.h"

// The stored size of a record of the version: 1608, 2080, 1752, 1756 for
// versions 1, 3, 4, 5, 2080 for version 6; 0 for version 2 (not convertible)
// and any unknown version.
uint32_t FrameRecordSizeOfVersion(uint32_t version);

// Brings a record of version 1, 3, 4 or 5 to version 6 and returns true. A
// version-6 record is copied and false returned. Version 2, unknown versions
// and records shorter than their version's size (available bytes) write
// nothing, report size 0 and return false. oldSize (may be null) receives the
// size the record occupies, so that a set of frames can be walked.
bool UpgradeFrameRecord(const void* old, uint32_t available, FrameRecord* out, uint32_t* oldSize);

// Turns a 5208-byte record into a version-6 record; the colour matrix
// selection and the 12 x 6 matrix come from the defaults.
void ConvertOldFrameRecord(const OldFrameRecord* old, FrameRecord* out, const DefaultsBlock& defaults);
