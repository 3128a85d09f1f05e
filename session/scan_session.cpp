#include "session/scan_session.h"

// Not built yet: no stores are opened, and the source starts without a device.
FileHandle OpenAppStore() { return nullptr; }
FileHandle OpenDeviceStore() { return nullptr; }
void CloseAppStore() {}
void CloseDeviceStore() {}
bool SelectSourceDevice() { return true; }
void SaveSelectedDevice() {}
void ClearFrameCountRecords() {}
void EndScanSession() {}
