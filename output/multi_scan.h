// Multi-scan: the frame read several times from the device and the passes
// averaged sample by sample, to lower the noise. The passes are read one after
// another into pass files of raw rows; the bands are then taken from their
// averages instead of from the device.
#pragma once

#include <cstdint>

struct FrameRecord;

constexpr int16_t kDefaultPassCount = 2;
constexpr uint32_t kPassBufferMinimum = 500000;
constexpr uint32_t kMultiScanTitleString = 16025;  // "Multi Scan..."
constexpr uint16_t kPassFileOpenError = 143;       // "Kann Datei nicht öffnen."
constexpr uint16_t kPassFileRoomError = 152;       // "Zu wenig Platz auf dem Laufwerk."
// The pass file of pass n (from 0) in the work folder; raw rows despite the extension.
constexpr const char* kPassFileName = "QB_Multi_Temp_%d.tif";

// The device read the passes go through: the device layer's own unless
// another device is playing it (null puts the device layer back).
struct PassDeviceRead {
  bool (*start)(FrameRecord* frame, bool preview);
  // Up to wanted rows into out; non-zero once the device is done.
  uint8_t (*read)(bool stop, uint8_t* out, uint32_t wanted, uint32_t* made);
  bool (*end)();
};
void SetPassDeviceRead(const PassDeviceRead* read);

// The device offers multi-scan and it is not switched off, the frame has at
// least 8 bits per channel and a pass mode other than 0.
bool IsMultiScanPossible(const FrameRecord& frame);
// Bytes of each pass's buffer: a band of rows, at least kPassBufferMinimum.
uint32_t PassBufferBytes(const FrameRecord& frame);
// Reads every pass into its file; false (pass files deleted) when a file
// cannot be made (device error 143 or 152), the device fails or the user cancels.
bool StartMultiScan(FrameRecord* frame);
// Unless skip, the averages of the next rows into band (rows of the frame's
// planes) and their number; true, with the pass files deleted, at the last
// rows or with skip.
bool FinishMultiScan(bool skip, uint8_t* band, uint32_t firstRow, uint32_t wanted, uint32_t* rows);
// Deletes the pass files; true.
bool EndMultiScan();
// The pass being read (1-based), 0 when no multi-scan is open; the pass count.
int16_t CurrentMultiScanPass();
int16_t MultiScanPassCount();
