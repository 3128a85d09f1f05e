// The triplet handlers of the image transfers: pending transfers, memory
// set-up, image information and layout, memory and native transfers.
#pragma once

#include "twain/capability_containers.h"
#include "twain/twain_state.h"

TW_UINT16 OnPendingTransfers(const TwainCall& call);
TW_UINT16 OnSetupMemoryTransfer(const TwainCall& call);
TW_UINT16 OnImageInfo(const TwainCall& call);
TW_UINT16 OnImageLayout(const TwainCall& call);
TW_UINT16 TransferMemoryBlock(const TwainCall& call);
TW_UINT16 TransferNative(const TwainCall& call);

// The scan command of the main window: prepares the scan of the current
// frame and announces it to the source manager (state 600), or in file mode
// writes the frames to files. False when nothing was announced or written.
bool StartTransferFromUi();

// Where the transfers take their bands from and learn of the user's cancel:
// the scan session's band producer and the progress window in the product,
// stand-ins in tests.
struct BandSource {
  void (*produceBand)();  // the next band into the session block; an empty band ends the image
  bool (*isCancelled)();
};
extern const BandSource kScanBandSource;
extern const BandSource* gBandSource;

// Memory of native bitmaps and of the host's handle buffers: fixed global
// memory in the product (the host frees the bitmap), the heap in the host checks.
extern const ContainerAllocator* gTransferAllocator;

// A band without data or with an empty rectangle: the image is done.
bool BandIsEmpty(const SessionBlock& session);
// Row bytes of a memory-transfer row: the session's row bytes rounded up to 4.
uint32_t MemoryRowBytes();
// Rows of the largest memory block: 1000000 bytes' worth, at most the image; 0 without row bytes.
uint32_t LargestBlockRows(uint32_t rowBytes);
