// The read of a scan over the device layer, in the terms of the band
// producer and the file writers: an error word at the start, a pass byte
// after each read. A frame that multi-scans reads through the output layer's
// merged passes instead of the device.
#pragma once

#include <cstdint>

struct FrameRecord;

// The multi-scan of the output layer, installed at module attach; until then
// no frame multi-scans.
struct MultiScanHooks {
  bool (*possible)(const FrameRecord& frame) = [](const FrameRecord&) { return false; };
  // Reads all passes; false with the device error word set on a failure.
  bool (*start)(FrameRecord* frame) = [](FrameRecord*) { return false; };
  // The next rows of the averaged passes (skip: none, the passes end); true once they are done.
  bool (*finish)(bool skip, uint8_t* out, uint32_t firstRow, uint32_t wanted, uint32_t* count) =
      [](bool, uint8_t*, uint32_t, uint32_t, uint32_t* count) {
        *count = 0;
        return true;
      };
  void (*end)() = [] {};
};
void InstallMultiScanHooks(const MultiScanHooks& hooks);

// Starts the final read of the frame. 0, or the error word (string id) of a failed start.
uint16_t StartScanRead(FrameRecord* frame);
// Reads up to `wanted` rows into out (each row the frame's planes one after
// the other) and gives their number; firstRow is the rows read so far. The
// result is non-zero once the source is done (all rows made, a failed read,
// or finish).
uint8_t ReadScanLines(bool finish, uint8_t* out, uint32_t firstRow, uint32_t wanted, uint32_t* count);
// The same from the device itself, never from the multi-scan passes.
uint8_t ReadDeviceScanLines(bool finish, uint8_t* out, uint32_t wanted, uint32_t* count);
// Ends the read; nothing when none is open.
void EndScanRead();

// The descreen modes read their source at the descreen ruling, unscaled: sets
// the frame's output fields and scan size for that read and the scaling
// window to the source size. The caller restores the frame after the start.
void SetDescreenSource(FrameRecord* frame);
