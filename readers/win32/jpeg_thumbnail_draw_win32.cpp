// The thumbnail goes into a DIB section and is stretched with halftoning
// onto the caller's bitmap.
#include "readers/jpeg/jpeg_thumbnail.h"

#include <windows.h>

#include <cstring>

namespace {

HBITMAP CreateThumbnailSection(const ThumbnailPixels& pixels, HDC dc) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(pixels.width);
  info.bmiHeader.biHeight = -static_cast<LONG>(pixels.height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* sectionBits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
  if (!section) return nullptr;
  const size_t rowBytes = (size_t{pixels.width} * 3 + 3) & ~size_t{3};
  for (uint32_t y = 0; y < pixels.height; ++y) {
    std::memcpy(static_cast<uint8_t*>(sectionBits) + y * rowBytes, pixels.bgr.data() + size_t{y} * pixels.width * 3,
                size_t{pixels.width} * 3);
  }
  GdiFlush();
  return section;
}

}  // namespace

bool DrawThumbnailPixels(const ThumbnailPixels& pixels, void* bitmap, uint8_t*, int32_t width, int32_t height,
                         int32_t, int32_t) {
  if (!bitmap || width <= 0 || height <= 0) return false;
  HWND owner = GetDesktopWindow();
  HDC windowDc = GetDC(owner);
  HBITMAP section = CreateThumbnailSection(pixels, windowDc);
  bool drawn = false;
  if (section) {
    HDC sourceDc = CreateCompatibleDC(windowDc);
    HDC targetDc = CreateCompatibleDC(windowDc);
    HGDIOBJ oldSource = SelectObject(sourceDc, section);
    HGDIOBJ oldTarget = SelectObject(targetDc, static_cast<HBITMAP>(bitmap));
    HPALETTE palette = CreateHalftonePalette(targetDc);
    HPALETTE oldPalette = palette ? SelectPalette(targetDc, palette, FALSE) : nullptr;
    if (palette) RealizePalette(targetDc);
    SetStretchBltMode(targetDc, HALFTONE);
    SetBrushOrgEx(targetDc, 0, 0, nullptr);
    drawn = StretchBlt(targetDc, 0, 0, width, height, sourceDc, 0, 0, static_cast<int>(pixels.width),
                       static_cast<int>(pixels.height), SRCCOPY) != FALSE;
    GdiFlush();
    if (palette) {
      SelectPalette(targetDc, oldPalette, FALSE);
      DeleteObject(palette);
    }
    SelectObject(targetDc, oldTarget);
    SelectObject(sourceDc, oldSource);
    DeleteDC(targetDc);
    DeleteDC(sourceDc);
    DeleteObject(section);
  }
  ReleaseDC(owner, windowDc);
  return drawn;
}
