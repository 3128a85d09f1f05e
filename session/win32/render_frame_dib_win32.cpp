#include <windows.h>

#include <cstring>

#include "color/pixel_layout.h"
#include "foundation/bits.h"
#include "foundation/color_hsl.h"
#include "frames/frame_list.h"
#include "frames/frame_storage.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/band_producer.h"
#include "session/scan_read.h"
#include "session/scan_session.h"
#include "session/user_interface_hooks.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

constexpr double kInchesPerMetre = 100 * 0.39370078740157477;

void EndRender() {
  EndScanRead();
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
}

}  // namespace

bool RenderFrameDib(void** handle) {
  *handle = nullptr;
  SessionUserInterface().saveUserInterfaceState();
  gBatchIndex = gBatchLast = 0;
  if (!gCurrentFrame) return false;
  gScanFrame = *gCurrentFrame;
  if (gScanFrame.bitsPerChannel != 8 || GetDefault(gDefaults, kDefaultOutputCmsMode) == 4) return false;
  if (!PrepareScan()) return false;

  SessionBlock& session = *gSession;
  if (session.imageMode == 4 || session.imageMode == 9 || session.depth == 16) {
    EndRender();
    return false;
  }
  const int32_t columns = static_cast<uint16_t>(session.columns);
  const int32_t rows = static_cast<uint16_t>(session.rows);
  const bool colour = session.imageMode == 3;
  const int32_t bitCount = colour ? 24 : 8;  // line art is expanded to grey bytes
  const int32_t colours = colour ? 0 : 256;
  const uint32_t stride = static_cast<uint32_t>((columns * bitCount + 31) / 32 * 4);
  const uint32_t imageSize = stride * static_cast<uint32_t>(rows);
  HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + 4 * colours + imageSize);
  if (!block) {
    EndRender();
    return false;
  }
  auto* header = static_cast<BITMAPINFOHEADER*>(block);
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = columns;
  header->biHeight = rows;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bitCount);
  header->biCompression = BI_RGB;
  header->biSizeImage = imageSize;
  const LONG perMetre = static_cast<LONG>(session.horizontalResolution / 65536.0 * kInchesPerMetre);
  header->biXPelsPerMeter = header->biYPelsPerMeter = perMetre;
  header->biClrUsed = static_cast<DWORD>(colours);
  auto* palette = reinterpret_cast<PaletteEntry*>(header + 1);
  if (colours) FillGreyPalette(palette, colours);
  uint8_t* pixels = reinterpret_cast<uint8_t*>(palette + colours);

  for (;;) {
    RunScan();
    const uint8_t* band = session.bandData.value;
    if (!band || gSessionEnded) break;
    const int32_t top = static_cast<uint16_t>(session.bandTop);
    const int32_t left = static_cast<uint16_t>(session.bandLeft);
    const int32_t width = static_cast<uint16_t>(session.bandRight) - left;
    const int32_t height = static_cast<uint16_t>(session.bandBottom) - top;
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* row = band + static_cast<size_t>(y) * session.rowBytes;
      uint8_t* target = pixels + static_cast<size_t>(rows - (top + y) - 1) * stride + left * bitCount / 8;
      if (session.imageMode == 0) ExpandBitsToBytes(row, static_cast<uint32_t>(width), target);
      else if (colour) Planar3ToBgr8(row, target, 1, width);
      else std::memcpy(target, row, static_cast<size_t>(width));
    }
  }
  EndRender();
  if (gSessionEnded) {
    GlobalFree(block);
    return false;
  }
  *handle = block;
  return true;
}
