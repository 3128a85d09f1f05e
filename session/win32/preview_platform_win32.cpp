#include <windows.h>

#include <cstring>

#include "session/preview_platform.h"

bool StretchPreviewHalftone(const DibHeader* source, GlobalDib target) {
  if (!source || !target || source->bitCount != 32 || target->bitCount != 32) return false;
  if (source->width == target->width && GlobalDibHeight(source) == GlobalDibHeight(target)) {
    CopyGlobalDib(source, target);
    return true;
  }
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  BITMAPINFO info = {};
  std::memcpy(&info.bmiHeader, target, sizeof info.bmiHeader);
  void* pixels = nullptr;
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  bool made = section && pixels;
  if (made) {
    HGDIOBJ old = SelectObject(dc, section);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    made = StretchDIBits(dc, 0, 0, target->width, GlobalDibHeight(target), 0, 0, source->width,
                         GlobalDibHeight(source), GlobalDibBits(source), reinterpret_cast<const BITMAPINFO*>(source),
                         DIB_RGB_COLORS, SRCCOPY) != 0;
    GdiFlush();
    if (made) std::memcpy(GlobalDibBits(target), pixels, target->sizeImage);
    SelectObject(dc, old);
  }
  if (section) DeleteObject(section);
  DeleteDC(dc);
  return made;
}
