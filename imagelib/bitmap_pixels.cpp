// A GDI bitmap back into a 24-bit pixel buffer: GetDIBits into a DIB of the
// bitmap's own depth, then the bitmap row converter.
#include <cstring>

#include "imagelib/bmp_format.h"
#include "imagelib/bmp_rows.h"
#include "imagelib/imagelib.h"
#include "imagelib/result_block.h"
#include "imagelib/gdi_helpers.h"

namespace imagelib {

namespace {

constexpr int kPaletteSize = 256;

struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[kPaletteSize];
};

void* Fail(EntryWork& work, int code) {
  work.error = code;
  return nullptr;
}

// On a palette device the bits are fetched through the system palette.
HPALETTE SystemPalette(HDC dc) {
  struct {
    WORD version;
    WORD entries;
    PALETTEENTRY colors[kPaletteSize];
  } logical = {0x300, kPaletteSize, {}};
  GetSystemPaletteEntries(dc, 0, kPaletteSize, logical.colors);
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
}

void* FetchPixels(EntryWork& work, HDC dc, HBITMAP bitmap, int* width, int* height) {
  BITMAP object = {};
  if (!GetObject(bitmap, sizeof object, &object)) return Fail(work, kImageGetBitsFailed);
  const int depth = object.bmPlanes * object.bmBitsPixel;
  DibInfo info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = object.bmWidth;
  info.header.biHeight = object.bmHeight;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(depth);
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = depth <= 8 ? 1u << depth : 0;
  auto* bitmap_info = reinterpret_cast<BITMAPINFO*>(&info);
  if (!GetDIBits(dc, bitmap, 0, object.bmHeight, nullptr, bitmap_info, DIB_RGB_COLORS))
    return Fail(work, kImageGetBitsFailed);
  if (info.header.biCompression == BI_BITFIELDS) return Fail(work, kImageBadLayout);

  const uint64_t stride = BmpStride(object.bmWidth, depth);
  const uint64_t rows = static_cast<uint64_t>(object.bmHeight);
  ScratchBlock bits(stride * rows);
  ScratchBlock pixels(static_cast<uint64_t>(object.bmWidth) * 3 * rows);
  if (!bits || !pixels) return Fail(work, kImageNoMemory);
  if (GetDIBits(dc, bitmap, 0, object.bmHeight, bits.As<void>(), bitmap_info, DIB_RGB_COLORS) != object.bmHeight)
    return Fail(work, kImageGetBitsFailed);
  PaletteEntry table[kPaletteSize] = {};
  std::memcpy(table, info.colors, sizeof table);
  for (uint64_t y = 0; y < rows; ++y)
    ConvertBmpRow(bits.As<uint8_t>() + (rows - 1 - y) * stride, object.bmWidth, depth, table, nullptr,
                  pixels.As<uint8_t>() + y * object.bmWidth * 3, -1);
  *width = object.bmWidth;
  *height = object.bmHeight;
  return pixels.Release();
}

}  // namespace

void* BitmapToPixels(EntryWork& work, HDC dc, HBITMAP bitmap, int* width, int* height) {
  if (!(GetDeviceCaps(dc, RASTERCAPS) & RC_DI_BITMAP)) return Fail(work, kImageNoDibDevice);
  if (!(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)) return FetchPixels(work, dc, bitmap, width, height);
  HPALETTE palette = SystemPalette(dc);
  void* pixels = nullptr;
  {
    SelectedPalette selected(dc, palette);
    pixels = FetchPixels(work, dc, bitmap, width, height);
  }
  DeleteObject(palette);
  return pixels;
}

}  // namespace imagelib
