#include "foundation/win32/global_dib_draw_win32.h"

#include <cstring>

const BITMAPINFO* GlobalDibBitmapInfo(const DibHeader* dib, GlobalDibDrawInfo* info) {
  if (dib->bitCount != 8) return reinterpret_cast<const BITMAPINFO*>(dib);
  std::memcpy(&info->header, dib, sizeof info->header);
  info->header.biClrUsed = 256;
  for (int i = 0; i < 256; ++i) info->colors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  return reinterpret_cast<const BITMAPINFO*>(info);
}

void StretchGlobalDibPart(HDC dc, const RECT& destination, const DibHeader* dib, const RECT& source) {
  const int32_t rows = source.bottom - source.top;
  if (rows <= 0 || source.top < 0 || source.bottom > GlobalDibHeight(dib)) return;
  GlobalDibDrawInfo info;
  const BITMAPINFO* given = GlobalDibBitmapInfo(dib, &info);
  if (given != reinterpret_cast<const BITMAPINFO*>(&info)) std::memcpy(&info.header, given, sizeof info.header);
  info.header.biHeight = dib->height < 0 ? -rows : rows;
  info.header.biSizeImage = 0;
  const int32_t firstStored = dib->height < 0 ? source.top : GlobalDibHeight(dib) - source.bottom;
  const uint8_t* bits = GlobalDibBits(dib) + static_cast<size_t>(firstStored) * GlobalDibStride(dib);
  StretchDIBits(dc, destination.left, destination.top, destination.right - destination.left,
                destination.bottom - destination.top, source.left, 0, source.right - source.left, rows, bits,
                reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
}

namespace {

MatchedDibDraw gMatchedDibDraw = nullptr;

HWND Target(HWND window, int itemId) { return itemId ? GetDlgItem(window, itemId) : window; }

// Draws a part of the image, in stored rows, at the same place of the target.
void DrawPart(const DibHeader* dib, HWND window, int itemId, HDC given, RECT r, bool colourMatched) {
  HWND target = Target(window, itemId);
  if (!dib || !target) return;
  r.right = r.right < dib->width ? r.right : dib->width;
  r.bottom = r.bottom < GlobalDibHeight(dib) ? r.bottom : GlobalDibHeight(dib);
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (colourMatched && gMatchedDibDraw) {
    gMatchedDibDraw(dib, given, r);
    return;
  }
  HDC dc = given ? given : GetDC(target);
  StretchGlobalDibPart(dc, r, dib, r);
  if (!given) ReleaseDC(target, dc);
}

}  // namespace

void InstallMatchedDibDraw(MatchedDibDraw draw) { gMatchedDibDraw = draw; }

void DrawGlobalDibRows(const DibHeader* dib, HWND window, int itemId, HDC dc, int32_t first, int32_t count,
                       bool colourMatched) {
  if (!dib) return;
  const int32_t last = count == 0 ? GlobalDibHeight(dib) : first + count;
  DrawPart(dib, window, itemId, dc, RECT{0, first, dib->width, last}, colourMatched);
}

void DrawGlobalDibRect(const DibHeader* dib, HWND window, int itemId, HDC dc, const RECT& rect, bool colourMatched) {
  DrawPart(dib, window, itemId, dc, rect, colourMatched);
}

void StretchGlobalDibToItem(const DibHeader* dib, HWND window, int itemId, const RECT& source) {
  HWND target = Target(window, itemId);
  if (!dib || !target) return;
  RECT client;
  GetClientRect(target, &client);
  HDC dc = GetDC(target);
  StretchGlobalDibPart(dc, client, dib, source);
  ReleaseDC(target, dc);
}
