#include "twain/transfers.h"

// Not built yet: no image is ever ready, so every transfer call is out of sequence.
TW_UINT16 OnPendingTransfers(const TwainCall&) { return FailWith(TWCC_SEQERROR); }
TW_UINT16 OnSetupMemoryTransfer(const TwainCall&) { return FailWith(TWCC_SEQERROR); }
TW_UINT16 OnImageInfo(const TwainCall&) { return FailWith(TWCC_SEQERROR); }
TW_UINT16 OnImageLayout(const TwainCall&) { return FailWith(TWCC_SEQERROR); }
TW_UINT16 TransferMemoryBlock(const TwainCall&) { return FailWith(TWCC_SEQERROR); }
TW_UINT16 TransferNative(const TwainCall&) { return FailWith(TWCC_SEQERROR); }
