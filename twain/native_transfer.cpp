// DAT_IMAGENATIVEXFER: the whole image as one bitmap in global memory.
#include <algorithm>

#include "state/data_source_state.h"
#include "twain/capabilities.h"
#include "twain/native_dib.h"
#include "twain/transfer_rows.h"
#include "twain/transfers.h"

namespace {

// The band's rows into their bitmap rows (the bitmap runs bottom-up). Rows
// and columns outside the image are left out.
void PlaceBand(const SessionBlock& session, const NativeDibLayout& layout, uint8_t* pixels) {
  const int32_t left = std::max<int32_t>(session.bandLeft, 0);
  const int32_t width = std::min<int32_t>(session.bandRight, session.columns) - left;
  if (width <= 0) return;
  const uint32_t leftByte = static_cast<uint32_t>(left) * layout.bitCount / 8;
  for (int32_t y = std::max<int32_t>(session.bandTop, 0); y < std::min<int32_t>(session.bandBottom, session.rows); ++y) {
    const uint8_t* bandRow = session.bandData.value + static_cast<int64_t>(y - session.bandTop) * session.rowBytes;
    uint8_t* dibRow = pixels + static_cast<uint32_t>(session.rows - y - 1) * layout.stride + leftByte;
    ConvertRowForDib(session.imageMode, bandRow, width, dibRow);
  }
}

}  // namespace

TW_UINT16 TransferNative(const TwainCall& call) {
  if (gTwainState != kStateTransferReady) return FailWith(TWCC_SEQERROR);
  if (call.message != MSG_GET) return FailWith(TWCC_BADPROTOCOL);
  auto* out = static_cast<TW_HANDLE*>(call.data);
  if (!out) return FailWith(TWCC_BADVALUE);
  *out = nullptr;
  SessionBlock& session = *gSession;
  // Layouts without a TWAIN pixel type (L*a*b*, four 16-bit samples) cannot be described to the host.
  if (ToTwainPixelType(session.imageMode) < 0) return FailWith(TWCC_OPERATIONERROR);
  if (session.imageMode == 4 || session.depth == 16) return TWRC_CANCEL;

  const NativeDibLayout layout = NativeDibLayoutOf(session);
  TW_HANDLE bitmap = gTransferAllocator->allocate(NativeDibBlockSize(layout));
  auto* block = bitmap ? static_cast<uint8_t*>(gTransferAllocator->lock(bitmap)) : nullptr;
  if (!block) {
    if (bitmap) gTransferAllocator->release(bitmap);
    return FailWith(TWCC_LOWMEMORY);
  }
  uint8_t* pixels = WriteNativeDibHeader(session, layout, block);

  gSessionEnded = 0;
  gTwainState = kStateTransferring;
  for (;;) {
    gBandSource->produceBand();
    if (gSessionEnded || BandIsEmpty(session)) break;
    PlaceBand(session, layout, pixels);
  }
  gTransferAllocator->unlock(bitmap);

  if (gSessionEnded || gBandSource->isCancelled()) {
    // Nothing goes to the host, so nobody else would free the bitmap.
    gTransferAllocator->release(bitmap);
    return TWRC_CANCEL;
  }
  *out = bitmap;
  return TWRC_XFERDONE;
}
