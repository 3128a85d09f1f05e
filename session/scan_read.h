// The read of a scan: the frame's area of the image, one source row for each
// row of the frame. It stands in for the device layer's read with resampling
// until that read is available, and keeps the same roles: start, lines, end.
#pragma once

#include <cstdint>

struct FrameRecord;

// Opens the image for a read of the frame and installs the tone tables of its
// 8-bit samples. 0, or the error word (string id) of a failed start.
uint16_t StartScanRead(FrameRecord* frame);
// Reads up to `wanted` rows from row firstRow on into out (each row the
// frame's planes one after the other, 1-bit rows packed from the top bit),
// and gives their number; the result is non-zero once the source is done
// (all rows read, a failed read, or finish).
uint8_t ReadScanLines(bool finish, uint8_t* out, uint32_t firstRow, uint32_t wanted, uint32_t* count);
// Ends the read and frees the reader; nothing when none is open.
void EndScanRead();
