// The frame list of the open device, kept in the device store as one
// "Frame" record per frame (ids 16000, 16001, ... in list order).
#pragma once

#include <cstdint>

#include "foundation/record_type.h"
#include "frames/frame_record.h"
#include "frames/frame_record_types.h"

constexpr int32_t kFirstFrameRecordId = 16000;
constexpr const char* kFrameRecordName = "Frame";
constexpr RecordType kFilmProfileRecordType = TagFromString("NgFm");

// The kind of original of the session, which picks the record types.
OriginalKind CurrentOriginalKind();
RecordType CurrentFrameListType();
RecordType CurrentFrameSetType();

// Rebuilds the list from the device store: every frame record of the
// current type in id order. A record that is not a current 2080-byte frame
// is skipped; when none is left, or none is stored, the frame frozen for the
// transfer stands in.
void LoadFrameList();
// Replaces the stored frame list with the list's frames in order; false when
// any write failed.
bool SaveFrameList();
// Repairs every frame after loading: the rectangle within the scan area,
// and a film-profile reference whose profile is missing is dropped.
void FixUpLoadedFrames();
// The repairs of one record read from a store: neutral negative limits when
// all are 0, and output scales of 0 taken from the old 16-bit values.
void RepairStoredFrame(FrameRecord* frame);
