// The scan session: the two settings stores of a session, the choice of the
// source device, the preparation and end of a scan, and the frame-count
// records that queue the further frames of a batch.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_type.h"

constexpr RecordType kFrameCountType = TagFromString("FCNT");
constexpr const char* kFrameCountName = "FrameCount";
constexpr int32_t kFrameCountReflectiveId = 16000;
constexpr int32_t kFrameCountTransparentId = 17000;
constexpr uint16_t kFeederFrameCount = 1111;
constexpr RecordType kScanDeviceType = TagFromString("SCAN");
constexpr int32_t kScanDeviceId = 128;

// Open (create when missing) the application store or the device store and
// keep its handle in the session state; null when it cannot be opened.
FileHandle OpenAppStore();
FileHandle OpenDeviceStore();
void CloseAppStore();
void CloseDeviceStore();
// Moves a device store left in the settings folder itself into "Prefs\".
bool MoveDeviceStoreToPrefs();

// Builds the device table and opens the device last used; false when none can be opened.
bool SelectSourceDevice();
// Writes the open device's entry as the one to use next time.
void SaveSelectedDevice();
// Deletes every frame-count record of the device store.
void ClearFrameCountRecords();

// Prepares the scan of the current frame and starts the read; false when it cannot start.
bool PrepareScan();
// End of a scan: frees its buffers and ends a batch whose frames are done.
void ReportScannerStatus();
// Takes the next queued frame of a batch; sets gSessionEnded when none can be prepared.
void PrepareNextFrame();
// Frees everything the session allocated.
void EndScanSession();
