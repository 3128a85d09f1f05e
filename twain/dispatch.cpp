#include "twain/dispatch.h"

#include <initializer_list>

#include "foundation/log/caught_exception.h"
#include "state/data_source_state.h"
#include "twain/capabilities.h"
#include "twain/source_lifecycle.h"
#include "twain/transfers.h"

const DispatchEntry kControlTable[] = {
    {DAT_IDENTITY, OnIdentity},
    {DAT_USERINTERFACE, OnUserInterface},
    {DAT_CAPABILITY, OnCapability},
    {DAT_STATUS, OnStatus},
    {DAT_PENDINGXFERS, OnPendingTransfers},
    {DAT_SETUPMEMXFER, OnSetupMemoryTransfer},
    {DAT_XFERGROUP, OnTransferGroup},
    {0, nullptr},
};

const DispatchEntry kImageTable[] = {
    {DAT_IMAGEINFO, OnImageInfo},
    {DAT_IMAGELAYOUT, OnImageLayout},
    {DAT_IMAGEMEMXFER, TransferMemoryBlock},
    {DAT_IMAGENATIVEXFER, TransferNative},
    {0, nullptr},
};

TW_UINT16 Dispatch(const TwainCall& call, const DispatchEntry* table) {
  for (const DispatchEntry* entry = table; entry->handler; ++entry) {
    if (entry->dataArgument == call.dataArgument) return entry->handler(call);
  }
  return FailWith(TWCC_BADPROTOCOL);
}

namespace {

// The host's event for the source's modeless windows: the main window first,
// then the job manager.
TW_UINT16 ProcessEvent(TW_EVENT* event) {
  if (!event) return TWRC_NOTDSEVENT;
  for (WindowRef window : {gMainDialog, gJobManagerWindow}) {
    if (window && DialogTakesEvent(window, event->pEvent)) {
      event->TWMessage = MSG_NULL;
      return TWRC_DSEVENT;
    }
  }
  return TWRC_NOTDSEVENT;
}

TW_UINT16 HandleTriplet(pTW_IDENTITY origin, TW_UINT32 dataGroup, TW_UINT16 dataArgument, TW_UINT16 message,
                        TW_MEMREF data) {
  // One application at a time; a stranger's call leaves the connection and its condition code alone.
  if (gAppIdentity.Id != 0 && (!origin || origin->Id != gAppIdentity.Id)) return TWRC_FAILURE;
  if (message == MSG_PROCESSEVENT) return ProcessEvent(static_cast<TW_EVENT*>(data));
  // DAT_STATUS reports the code of the call before it.
  if (!(dataGroup == DG_CONTROL && dataArgument == DAT_STATUS)) gConditionCode = TWCC_SUCCESS;

  TwainCall call = {origin, dataGroup, dataArgument, message, data};
  if (dataGroup == DG_CONTROL) return Dispatch(call, kControlTable);
  if (dataGroup == DG_IMAGE) return Dispatch(call, kImageTable);
  return FailWith(TWCC_BADPROTOCOL);
}

}  // namespace

// An exception must not unwind into the host application: it becomes a
// failure of the triplet, with its condition code and a log line.
TW_UINT16 HandleDsEntry(pTW_IDENTITY origin, TW_UINT32 dataGroup, TW_UINT16 dataArgument, TW_UINT16 message,
                        TW_MEMREF data) {
  try {
    return HandleTriplet(origin, dataGroup, dataArgument, message, data);
  } catch (...) {
    return FailWith(LogCaughtException("DS_Entry") ? TWCC_LOWMEMORY : TWCC_BUMMER);
  }
}
