// DAT_PENDINGXFERS: how many images are still to come, the end of one image
// (with the next frame of a batch) and the reset of the pending transfers.
#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "session/device_layer.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"
#include "twain/transfer_state.h"
#include "twain/transfers.h"
#include "ui/ui_state_records.h"

namespace {

constexpr TW_UINT16 kUnknownCount = 0xFFFF;  // -1: as many as the source has

bool IsFeederRun() { return gOptionSlot == 1 && gOptionUnitFlag != 0; }

// The frames of a batch still to transfer, counting the current one.
TW_UINT16 BatchCount() {
  if (!gBatchOutput || gFileOutputMode) return 0;
  if (gBatchLast == 0) return kUnknownCount;
  return static_cast<TW_UINT16>(gBatchLast - gBatchIndex + 1);
}

TW_UINT16 PendingCount() {
  if (gTwainState == kStateOpen) return kUnknownCount;
  if (gTwainState == kStateEnabled) {
    if (!gBatchOutput || gFileOutputMode) return 1;
    return IsFeederRun() ? kUnknownCount : CountFrames();
  }
  return BatchCount();
}

// What ends every scan, whether it was transferred or reset.
void EndScan() {
  ReportScannerStatus();
  gBand.passByte = 0;
  InitPreviewFrameRecordCb(&gScanFrame);
  // Rows kept back belong to this image only.
  DropLeftoverRows();
  gBandCounters = BandCounters{};
}

TW_UINT16 EndTransfer(TW_PENDINGXFERS* pending) {
  if (gTwainState != kStateTransferReady && gTwainState != kStateTransferring) return FailWith(TWCC_SEQERROR);
  if (gTwainState == kStateTransferReady) CloseImageDevice();
  EndScan();
  pending->Count = 0;
  if (RecordStoreCount(gDeviceStore, kFrameCountType) == 0) {
    gTwainState = kStateEnabled;
    return TWRC_SUCCESS;
  }
  gTwainState = kStateTransferReady;
  gPrescanNeeded = true;
  PrepareNextFrame();
  if (gSessionEnded) {
    gTwainState = kStateEnabled;
    RecordStoreDeleteIndexed(gDeviceStore, kFrameCountType, 1);
    gSession->transferActive = 0;
    return FailWith(TWCC_OPERATIONERROR);
  }
  const TW_UINT16 count = BatchCount();
  pending->Count = count != 0 ? count : kUnknownCount;
  return TWRC_SUCCESS;
}

TW_UINT16 ResetTransfers(TW_PENDINGXFERS* pending) {
  if (gTwainState != kStateTransferReady) return FailWith(TWCC_SEQERROR);
  CloseImageDevice();
  EndScan();
  gSession->transferActive = 0;
  RecordStoreDeleteIndexed(gDeviceStore, kFrameCountType, 1);
  gTwainState = kStateEnabled;
  pending->Count = 0;
  return TWRC_SUCCESS;
}

}  // namespace

TW_UINT16 OnPendingTransfers(const TwainCall& call) {
  auto* pending = static_cast<TW_PENDINGXFERS*>(call.data);
  switch (call.message) {
    case MSG_GET:
      if (gTwainState < kStateOpen || gTwainState > kStateTransferring) return FailWith(TWCC_SEQERROR);
      if (!pending) return FailWith(TWCC_BADVALUE);
      pending->Count = PendingCount();
      return TWRC_SUCCESS;
    case MSG_ENDXFER:
      if (!pending) return FailWith(TWCC_BADVALUE);
      return EndTransfer(pending);
    case MSG_RESET:
      if (!pending) return FailWith(TWCC_BADVALUE);
      return ResetTransfers(pending);
    default:
      return FailWith(TWCC_BADPROTOCOL);
  }
}
