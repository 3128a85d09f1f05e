// CreateDisplayBitmap: a pixel buffer as a bitmap the screen (or the given
// device) can draw.
#include "imagelib/display_bitmap.h"

#include <cstring>

#include "imagelib/imagelib.h"
#include "imagelib/packed_dib.h"
#include "imagelib/gdi_helpers.h"

using namespace imagelib;

namespace {

HBITMAP MakeBitmap(EntryWork& work, HDC dc, const PackedDib& dib) {
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.Header());
  if (!work.context().dib_section) {
    HBITMAP bitmap = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, dib.Bits(), info, DIB_RGB_COLORS);
    if (!bitmap) work.error = kImageBitmapFailed;
    return bitmap;
  }
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) {
    work.error = kImageBitmapFailed;
    return nullptr;
  }
  if (!bits) {
    DeleteObject(section);
    work.error = kImageNoBits;
    return nullptr;
  }
  std::memcpy(bits, dib.Bits(), info->bmiHeader.biSizeImage);
  return section;
}

HBITMAP OnDevice(EntryWork& work, const PackedDib& dib, HPALETTE palette, HDC dc) {
  if (!(GetDeviceCaps(dc, RASTERCAPS) & RC_DI_BITMAP)) {
    work.error = kImageNoDibDevice;
    return nullptr;
  }
  // A 24-bit DIB has no colour table to build a palette from: only the caller's is selected.
  if (!palette) return MakeBitmap(work, dc, dib);
  SelectedPalette selected(dc, palette);
  return MakeBitmap(work, dc, dib);
}

HBITMAP MakeDisplayBitmap(EntryWork& work, const void* pixels, int width, int height, HPALETTE palette,
                          HDC dc) {
  PackedDib dib(work, pixels, width, height);
  if (!dib) return nullptr;
  if (dc) return OnDevice(work, dib, palette, dc);
  ScreenDc screen;
  return OnDevice(work, dib, palette, screen.get());
}

}  // namespace

extern "C" HBITMAP CreateDisplayBitmap(const void* pixels, int width, int height, HPALETTE palette, HDC hdc) {
  LibraryContext* context = GetContext();
  if (!context) return nullptr;
  if (!pixels) return RefusePointer(*context, kImageBadArgument);
  EntryWork work(*context);
  return MakeDisplayBitmap(work, pixels, width, height, palette, hdc);
}
