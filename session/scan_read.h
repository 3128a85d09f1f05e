// The read of a scan over the device layer, in the terms of the band
// producer: an error word at the start, a pass byte after each read.
#pragma once

#include <cstdint>

struct FrameRecord;

// Starts the final read of the frame. 0, or the error word (string id) of a failed start.
uint16_t StartScanRead(FrameRecord* frame);
// Reads up to `wanted` rows into out (each row the frame's planes one after
// the other) and gives their number; firstRow is the rows read so far. The
// result is non-zero once the source is done (all rows made, a failed read,
// or finish).
uint8_t ReadScanLines(bool finish, uint8_t* out, uint32_t firstRow, uint32_t wanted, uint32_t* count);
// Ends the read; nothing when none is open.
void EndScanRead();
