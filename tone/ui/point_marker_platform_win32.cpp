#include "tone/point_marker_platform.h"

#include <windows.h>

#include "foundation/win32/gdi_helpers_win32.h"

void DrawMarkerBitmap(void* window, uint16_t bitmapId, int32_t x, int32_t y) {
  HWND hwnd = static_cast<HWND>(window);
  if (!hwnd) return;
  HDC dc = GetDC(hwnd);
  BlitBitmapResource(dc, bitmapId, x, y, SRCAND);
  ReleaseDC(hwnd, dc);
}

void InvalidateWindowRect(void* window, const WinRect& rect) {
  if (window) InvalidateRect(static_cast<HWND>(window), AsRECT(&rect), FALSE);
}
