// The scan session: the two settings stores of a session, the choice of the
// source device and the end of a session.
#pragma once

#include "foundation/file_io.h"

// Open (create when missing) the application store or the device store and
// keep its handle in the session state; null when it cannot be opened.
FileHandle OpenAppStore();
FileHandle OpenDeviceStore();
void CloseAppStore();
void CloseDeviceStore();

// Builds the device table and opens the device last used; false when none can be opened.
bool SelectSourceDevice();
// Writes the open device's entry as the one to use next time.
void SaveSelectedDevice();
// Deletes every frame-count record of the device store.
void ClearFrameCountRecords();
// Frees everything the session allocated.
void EndScanSession();

// Prepares the scan of gScanFrame; false when it cannot start.
bool PrepareScan();
// Produces the next band into the session block; an empty band (no data or
// an empty rectangle) ends the image.
void RunScan();
// End of a scan: frees the scan's resources and reports the device's state.
void ReportScannerStatus();
// Takes the next queued frame at the end of a transfer; sets gSessionEnded
// when none can be prepared.
void PrepareNextFrame();
