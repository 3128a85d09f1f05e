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

// Not built yet: no scan can start, so no band is ever made.
bool PrepareScan() { return false; }
void RunScan() {}
void ReportScannerStatus() {}
void PrepareNextFrame() {}
