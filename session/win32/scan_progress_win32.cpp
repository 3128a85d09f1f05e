#include "session/scan_progress.h"

#include "foundation/progress/progress_window.h"
#include "foundation/progress/session_services.h"
#include "foundation/progress/session_values.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

namespace {
constexpr int32_t kScanProgressTitle = 16028;  // "in Bearbeitung"
}

void OpenScanProgress(const FrameRecord& frame) {
  const uint32_t name = ColorModeNameId(frame.colorMode == 2, frame.bitsPerChannel,
                                        GetDefault(gDefaults, kDefaultOutputCmsMode));
  ProgressOpen(true, kScanProgressTitle, static_cast<int32_t>(name), OwnerWindowForDialogs());
}

void UpdateScanProgress(int32_t done, int32_t total, int32_t batchIndex, int32_t batchLast) {
  ProgressUpdate(done, total, batchIndex, batchLast);
}

void CloseScanProgress() {
  if (GetProgressWindow()) ProgressClose();
}

bool IsScanCancelled() { return IsProgressCancelled(); }
