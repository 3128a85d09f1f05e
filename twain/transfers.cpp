#include "twain/transfers.h"

#include <algorithm>

#include "twain/capabilities.h"
#include "twain/transfer_state.h"

namespace {

constexpr uint32_t kBandByteLimit = 1000000;
constexpr uint32_t kPreferredByteLimit = 65535;

TW_FIX32 InchesOf(int16_t pixels, int32_t resolution) {
  return MakeFix32(resolution > 0 ? static_cast<float>(pixels * 65536.0 / resolution) : 0.0f);
}

}  // namespace

const BandSource* gBandSource = &kScanBandSource;

bool BandIsEmpty(const SessionBlock& session) {
  return !session.bandData.value || session.bandBottom <= session.bandTop || session.bandRight <= session.bandLeft;
}

uint32_t MemoryRowBytes() { return (static_cast<uint32_t>(std::max(gSession->rowBytes, 0)) + 3) & ~3u; }

uint32_t LargestBlockRows(uint32_t rowBytes) {
  // No row bytes, no rows: the division would otherwise fault.
  if (rowBytes == 0) return 0;
  return std::min<uint32_t>(kBandByteLimit / rowBytes, static_cast<uint32_t>(std::max<int16_t>(gSession->rows, 0)));
}

TW_UINT16 OnSetupMemoryTransfer(const TwainCall& call) {
  if (call.message != MSG_GET) return FailWith(TWCC_BADPROTOCOL);
  auto* setup = static_cast<TW_SETUPMEMXFER*>(call.data);
  if (!setup) return FailWith(TWCC_BADVALUE);
  if (gTwainState == kStateOpen || gTwainState == kStateEnabled) {
    *setup = TW_SETUPMEMXFER{400, 2048, 1024};
    return TWRC_SUCCESS;
  }
  if (gTwainState != kStateTransferReady) return FailWith(TWCC_SEQERROR);
  const uint32_t rowBytes = MemoryRowBytes();
  if (rowBytes == 0) return FailWith(TWCC_OPERATIONERROR);
  const uint32_t imageRows = static_cast<uint32_t>(std::max<int16_t>(gSession->rows, 0));
  setup->MinBufSize = rowBytes;
  setup->MaxBufSize = LargestBlockRows(rowBytes) * rowBytes;
  setup->Preferred = std::min(kPreferredByteLimit / rowBytes, imageRows) * rowBytes;
  DropLeftoverRows();
  return TWRC_SUCCESS;
}

TW_UINT16 OnImageInfo(const TwainCall& call) {
  if (gTwainState != kStateTransferReady) return FailWith(TWCC_SEQERROR);
  if (call.message != MSG_GET) return FailWith(TWCC_BADPROTOCOL);
  auto* info = static_cast<TW_IMAGEINFO*>(call.data);
  if (!info) return FailWith(TWCC_BADVALUE);
  const SessionBlock& session = *gSession;
  // Lab and four-sample 16-bit images have no pixel type a host could read;
  // their transfers are refused, so the description is too.
  if (ToTwainPixelType(session.imageMode) < 0) return FailWith(TWCC_OPERATIONERROR);
  *info = TW_IMAGEINFO{};
  info->XResolution.Whole = static_cast<TW_INT16>(session.horizontalResolution >> 16);
  info->YResolution.Whole = static_cast<TW_INT16>(session.verticalResolution >> 16);
  info->ImageWidth = session.columns;
  info->ImageLength = session.rows;
  info->SamplesPerPixel = session.planes;
  for (int i = 0; i < 8; ++i) info->BitsPerSample[i] = i < session.planes ? session.depth : 0;
  info->BitsPerPixel = static_cast<TW_INT16>(session.planes * session.depth);
  info->Planar = 0;
  info->PixelType = ToTwainPixelType(session.imageMode);
  info->Compression = TWCP_NONE;
  return TWRC_SUCCESS;
}

TW_UINT16 OnImageLayout(const TwainCall& call) {
  switch (call.message) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT: {
      // Before any MSG_OPENDS there is no session to describe.
      if (!gSession) return FailWith(TWCC_SEQERROR);
      auto* layout = static_cast<TW_IMAGELAYOUT*>(call.data);
      if (!layout) return FailWith(TWCC_BADVALUE);
      *layout = TW_IMAGELAYOUT{};
      layout->Frame.Right = InchesOf(gSession->columns, gSession->horizontalResolution);
      layout->Frame.Bottom = InchesOf(gSession->rows, gSession->verticalResolution);
      layout->DocumentNumber = 1;
      layout->PageNumber = 1;
      layout->FrameNumber = 1;
      return TWRC_SUCCESS;
    }
    case MSG_SET:
    case MSG_RESET:
      return TWRC_SUCCESS;
    default:
      return FailWith(TWCC_BADPROTOCOL);
  }
}
