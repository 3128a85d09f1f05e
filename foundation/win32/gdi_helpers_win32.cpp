#include "foundation/win32/gdi_helpers_win32.h"

#include "foundation/memory.h"

HBITMAP LoadBitmapResource(UINT id) {
  HINSTANCE module = static_cast<HINSTANCE>(GetModuleInstance());
  if (!module) module = GetModuleHandleA(nullptr);
  return static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void BlitBitmapResource(HDC dc, UINT id, int x, int y, DWORD rop) {
  HBITMAP bitmap = LoadBitmapResource(id);
  if (!bitmap) return;
  BITMAP info;
  GetObjectA(bitmap, sizeof info, &info);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, rop);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

bool CreateDibSectionForRect(HDC dc, const RECT& rect, HBITMAP* bitmap, void** pixels, WORD bitCount) {
  BITMAPINFO info;
  ZeroMemory(&info, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = rect.right - rect.left;
  info.bmiHeader.biHeight = -(rect.bottom - rect.top);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biXPelsPerMeter = 7874;
  info.bmiHeader.biYPelsPerMeter = 7874;
  *pixels = nullptr;
  *bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, pixels, nullptr, 0);
  return *bitmap != nullptr && *pixels != nullptr;
}
