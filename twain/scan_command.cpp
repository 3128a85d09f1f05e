// The scan command: the user-interface state saved, the current frame
// frozen, then either the files written or the scan prepared and announced.
#include "frames/frame_panel.h"
#include "frames/frame_storage.h"
#include "output/file_output.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"
#include "twain/source_lifecycle.h"
#include "twain/transfer_state.h"
#include "twain/transfers.h"
#include "ui/ui_state_records.h"

bool StartTransferFromUi() {
  SaveUserInterfaceState();

  gBatchIndex = 0;
  gBatchLast = 0;
  if (gCurrentFrame) gScanFrame = *gCurrentFrame;

  if (gFileOutputMode) {
    SaveScanToFiles();
    LoadFrameList();
    const bool result = UpdateFramePanelEnabling();
    gBand.passByte = 0;
    gSessionEnded = 1;
    return result;
  }
  if (gBatchOutput) gPrescanNeeded = true;
  if (!PrepareScan()) return false;
  gBandCounters = BandCounters{};
  DropLeftoverRows();
  AnnounceTransferReady();
  return true;
}
