#include <windows.h>

#include "foundation/progress/progress_window.h"
#include "session/band_producer.h"
#include "twain/transfers.h"

namespace {

TW_HANDLE AllocateFixed(uint32_t size) { return GlobalAlloc(GMEM_FIXED, size); }
void* LockGlobal(TW_HANDLE handle) { return GlobalLock(handle); }
void UnlockGlobal(TW_HANDLE handle) { GlobalUnlock(handle); }
void FreeGlobal(TW_HANDLE handle) { GlobalFree(handle); }

const ContainerAllocator kFixedGlobalAllocator = {AllocateFixed, LockGlobal, UnlockGlobal, FreeGlobal};

}  // namespace

const BandSource kScanBandSource = {RunScan, IsProgressCancelled};
const ContainerAllocator* gTransferAllocator = &kFixedGlobalAllocator;
