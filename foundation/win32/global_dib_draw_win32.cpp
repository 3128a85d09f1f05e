#include "foundation/win32/global_dib_draw_win32.h"

#include <cstring>

const BITMAPINFO* GlobalDibBitmapInfo(const DibHeader* dib, GlobalDibDrawInfo* info) {
  if (dib->bitCount != 8) return reinterpret_cast<const BITMAPINFO*>(dib);
  std::memcpy(&info->header, dib, sizeof info->header);
  info->header.biClrUsed = 256;
  for (int i = 0; i < 256; ++i) info->colors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  return reinterpret_cast<const BITMAPINFO*>(info);
}

namespace {

HWND Target(HWND window, int itemId) { return itemId ? GetDlgItem(window, itemId) : window; }

// Draws a part of the image, in stored rows, at the same place of the target.
void DrawPart(const DibHeader* dib, HWND window, int itemId, HDC given, RECT r) {
  HWND target = Target(window, itemId);
  if (!dib || !target) return;
  r.right = r.right < dib->width ? r.right : dib->width;
  r.bottom = r.bottom < GlobalDibHeight(dib) ? r.bottom : GlobalDibHeight(dib);
  if (r.left >= r.right || r.top >= r.bottom) return;
  HDC dc = given ? given : GetDC(target);
  GlobalDibDrawInfo info;
  const int32_t width = r.right - r.left, height = r.bottom - r.top;
  // The source's y counts from the top of a top-down image, from the bottom of a bottom-up one.
  const int32_t sourceY = dib->height < 0 ? r.top : GlobalDibHeight(dib) - r.bottom;
  StretchDIBits(dc, r.left, r.top, width, height, r.left, sourceY, width, height, GlobalDibBits(dib),
                GlobalDibBitmapInfo(dib, &info), DIB_RGB_COLORS, SRCCOPY);
  if (!given) ReleaseDC(target, dc);
}

}  // namespace

void DrawGlobalDibRows(const DibHeader* dib, HWND window, int itemId, HDC dc, int32_t first, int32_t count) {
  if (!dib) return;
  const int32_t last = count == 0 ? GlobalDibHeight(dib) : first + count;
  DrawPart(dib, window, itemId, dc, RECT{0, first, dib->width, last});
}

void DrawGlobalDibRect(const DibHeader* dib, HWND window, int itemId, HDC dc, const RECT& rect) {
  DrawPart(dib, window, itemId, dc, rect);
}

void StretchGlobalDibToItem(const DibHeader* dib, HWND window, int itemId, const RECT& source) {
  HWND target = Target(window, itemId);
  if (!dib || !target) return;
  RECT client;
  GetClientRect(target, &client);
  HDC dc = GetDC(target);
  GlobalDibDrawInfo info;
  const int sourceY = dib->height < 0 ? source.top : GlobalDibHeight(dib) - source.bottom;
  StretchDIBits(dc, 0, 0, client.right, client.bottom, source.left, sourceY, source.right - source.left,
                source.bottom - source.top, GlobalDibBits(dib), GlobalDibBitmapInfo(dib, &info), DIB_RGB_COLORS, SRCCOPY);
  ReleaseDC(target, dc);
}
