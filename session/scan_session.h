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
