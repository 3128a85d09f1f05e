#include "session/scan_progress.h"

// No progress window in the platform-neutral build.
void OpenScanProgress(const FrameRecord&) {}
void UpdateScanProgress(int32_t, int32_t, int32_t, int32_t) {}
void CloseScanProgress() {}
bool IsScanCancelled() { return false; }
