// The progress window of a scan, as the band producer uses it. Only the
// product shows a window; elsewhere a scan runs without one and is never
// cancelled.
#pragma once

#include <cstdint>

struct FrameRecord;

void OpenScanProgress(const FrameRecord& frame);
void UpdateScanProgress(int32_t done, int32_t total, int32_t batchIndex, int32_t batchLast);
void CloseScanProgress();
bool IsScanCancelled();
