// The triplet handlers of the image transfers: pending transfers, memory
// set-up, image information and layout, memory and native transfers.
#pragma once

#include "twain/twain_state.h"

TW_UINT16 OnPendingTransfers(const TwainCall& call);
TW_UINT16 OnSetupMemoryTransfer(const TwainCall& call);
TW_UINT16 OnImageInfo(const TwainCall& call);
TW_UINT16 OnImageLayout(const TwainCall& call);
TW_UINT16 TransferMemoryBlock(const TwainCall& call);
TW_UINT16 TransferNative(const TwainCall& call);
