// DAT_IMAGEMEMXFER: the image in blocks of rows in the host's buffers.
#include <algorithm>
#include <cstring>

#include "foundation/memory.h"
#include "frames/orientation/preview_orientation.h"
#include "state/data_source_state.h"
#include "twain/capabilities.h"
#include "twain/transfer_rows.h"
#include "twain/transfer_state.h"
#include "twain/transfers.h"

namespace {

void NextBandWhenUsedUp() {
  if (gBandCounters.delivered != gBandCounters.rows) return;
  gBandSource->produceBand();
  gBandCounters.rows = static_cast<uint16_t>(gSession->bandBottom - gSession->bandTop);
  gBandCounters.delivered = 0;
}

// The band's rows [first, first + count) converted into consecutive host rows.
void ConvertBandRows(int32_t first, uint32_t count, uint32_t rowBytes, uint8_t* target) {
  const SessionBlock& session = *gSession;
  const MemoryRowFormat format = MemoryRowFormatOf(session);
  const int32_t width = session.bandRight - session.bandLeft;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* bandRow = session.bandData.value + static_cast<int64_t>(first + i) * session.rowBytes;
    ConvertRowForMemory(format, bandRow, width, target + i * rowBytes);
  }
}

void DescribeBlock(TW_IMAGEMEMXFER* transfer, uint32_t rows, int32_t yOffset, uint32_t rowBytes) {
  transfer->Columns = static_cast<TW_UINT32>(gSession->bandRight - gSession->bandLeft);
  transfer->Rows = rows;
  transfer->XOffset = static_cast<TW_UINT32>(gSession->bandLeft);
  transfer->YOffset = static_cast<TW_UINT32>(yOffset);
  transfer->BytesWritten = rows * rowBytes;
}

// Every host but one: as many rows of the current band as the buffer holds.
TW_UINT16 DeliverFromBand(TW_IMAGEMEMXFER* transfer, uint8_t* buffer, uint32_t rowBytes) {
  const uint32_t rows = std::min<uint32_t>(transfer->Memory.Length / rowBytes, gBandCounters.rows - gBandCounters.delivered);
  std::memset(buffer, 0, rows * rowBytes);
  ConvertBandRows(gBandCounters.delivered, rows, rowBytes, buffer);
  DescribeBlock(transfer, rows, gSession->bandTop + gBandCounters.delivered, rowBytes);
  gBandCounters.delivered = static_cast<uint16_t>(gBandCounters.delivered + rows);
  return TWRC_SUCCESS;
}

// Puts the band's undelivered rows beside the kept ones: after them when the
// image runs top-down, before them when it runs bottom-up.
bool KeepRestOfBand(uint32_t rest, uint32_t rowBytes, bool bottomUp) {
  const uint32_t kept = gLeftoverRows.count;
  auto* rows = static_cast<uint8_t*>(AllocBlock((kept + rest) * rowBytes));
  if (!rows) return false;
  uint8_t* newRows = bottomUp ? rows : rows + kept * rowBytes;
  uint8_t* oldRows = bottomUp ? rows + rest * rowBytes : rows;
  if (kept) std::memcpy(oldRows, gLeftoverRows.rows, kept * rowBytes);
  const int32_t first = bottomUp ? 0 : gBandCounters.delivered;
  ConvertBandRows(first, rest, rowBytes, newRows);
  DropLeftoverRows();
  gLeftoverRows = LeftoverRows{kept + rest, rows};
  gBandCounters.delivered = gBandCounters.rows;
  return true;
}

// The host that takes only whole blocks except at the end of the image: rows
// of a band too short to fill a block wait for the next band. Bottom-up
// images deliver each band from its bottom, and the kept rows (which lie
// below) close the block; top-down they open it.
TW_UINT16 DeliverWholeBlock(TW_IMAGEMEMXFER* transfer, uint8_t* buffer, uint32_t rowBytes) {
  const SessionBlock& session = *gSession;
  const uint32_t blockRows = transfer->Memory.Length / rowBytes;
  const bool bottomUp = OrientationFlipY() != 0;
  for (;;) {
    const uint32_t kept = gLeftoverRows.count;
    if (kept > blockRows) return FailWith(TWCC_BADVALUE);  // the host's buffer shrank below the kept rows
    const bool bandRemains = !BandIsEmpty(session) && !gSessionEnded;
    const uint32_t rest = bandRemains ? gBandCounters.rows - gBandCounters.delivered : 0;
    const uint32_t taken = std::min(blockRows - kept, rest);
    const bool endsAtEdge = bottomUp ? session.bandTop <= 0 : session.bandBottom >= session.rows;
    if (bandRemains && taken == rest && kept + taken < blockRows && !endsAtEdge) {
      if (!KeepRestOfBand(rest, rowBytes, bottomUp)) return FailWith(TWCC_LOWMEMORY);
      NextBandWhenUsedUp();
      if (gSessionEnded) return TWRC_CANCEL;
      continue;
    }
    const uint32_t rows = kept + taken;
    std::memset(buffer, 0, rows * rowBytes);
    int32_t yOffset;
    if (bottomUp) {
      const int32_t first = gBandCounters.rows - gBandCounters.delivered - static_cast<int32_t>(taken);
      if (taken) ConvertBandRows(first, taken, rowBytes, buffer);
      if (kept) std::memcpy(buffer + taken * rowBytes, gLeftoverRows.rows, kept * rowBytes);
      yOffset = session.bandTop + first;
    } else {
      if (kept) std::memcpy(buffer, gLeftoverRows.rows, kept * rowBytes);
      if (taken) ConvertBandRows(gBandCounters.delivered, taken, rowBytes, buffer + kept * rowBytes);
      yOffset = session.bandTop + gBandCounters.delivered - static_cast<int32_t>(kept);
    }
    DescribeBlock(transfer, rows, yOffset, rowBytes);
    gBandCounters.delivered = static_cast<uint16_t>(gBandCounters.delivered + taken);
    DropLeftoverRows();
    return TWRC_SUCCESS;
  }
}

bool TakesWholeBlocksOnly() { return TwainTextIs(gAppIdentity.Manufacturer, "Wang Laboratories, Inc."); }

// Locks the host's buffer when it is a handle; unlocks on the way out.
class HostBuffer {
 public:
  explicit HostBuffer(const TW_MEMORY& memory) : memory_(memory) {
    locked_ = (memory.Flags & TWMF_HANDLE) != 0;
    bytes_ = static_cast<uint8_t*>(locked_ ? gTransferAllocator->lock(memory.TheMem) : memory.TheMem);
  }
  ~HostBuffer() {
    if (locked_ && bytes_) gTransferAllocator->unlock(memory_.TheMem);
  }
  uint8_t* bytes() const { return bytes_; }

 private:
  TW_MEMORY memory_;
  bool locked_;
  uint8_t* bytes_;
};

}  // namespace

TW_UINT16 TransferMemoryBlock(const TwainCall& call) {
  if (call.message != MSG_GET) return FailWith(TWCC_BADPROTOCOL);
  auto* transfer = static_cast<TW_IMAGEMEMXFER*>(call.data);
  if (!transfer) return FailWith(TWCC_BADVALUE);
  const uint32_t rowBytes = MemoryRowBytes();
  const uint32_t length = transfer->Memory.Length;
  if (gTwainState == kStateTransferReady) {
    // Layouts without a TWAIN pixel type (L*a*b*, four 16-bit samples) cannot be described to the host.
    if (ToTwainPixelType(gSession->imageMode) < 0) return FailWith(TWCC_OPERATIONERROR);
    gSessionEnded = 0;
    if (rowBytes != 0 && (length < rowBytes || length > LargestBlockRows(rowBytes) * rowBytes)) {
      return FailWith(TWCC_BADVALUE);
    }
    gBandCounters = BandCounters{};
    DropLeftoverRows();
    gTwainState = kStateTransferring;
  } else if (gTwainState == kStateTransferring) {
    // A buffer shorter than a row would take no rows and never finish.
    if (rowBytes != 0 && length < rowBytes) return FailWith(TWCC_BADVALUE);
  } else {
    return FailWith(TWCC_SEQERROR);
  }

  NextBandWhenUsedUp();
  if (gSessionEnded) return TWRC_CANCEL;
  transfer->Compression = TWCP_NONE;
  transfer->BytesPerRow = rowBytes;
  const bool bandEmpty = BandIsEmpty(*gSession) || rowBytes == 0;
  if (bandEmpty && gLeftoverRows.count == 0) {
    gBandCounters = BandCounters{};
    transfer->Rows = 0;
    transfer->BytesWritten = 0;
    return gBandSource->isCancelled() ? TWRC_CANCEL : TWRC_XFERDONE;
  }

  HostBuffer buffer(transfer->Memory);
  if (!buffer.bytes()) return FailWith(TWCC_BADVALUE);
  if (TakesWholeBlocksOnly()) return DeliverWholeBlock(transfer, buffer.bytes(), rowBytes);
  return DeliverFromBand(transfer, buffer.bytes(), rowBytes);
}
