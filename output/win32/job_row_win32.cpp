#include "output/win32/job_row_win32.h"

#include <cstring>

#include "foundation/memory.h"
#include "output/job_hooks.h"
#include "output/job_item.h"
#include "output/job_row.h"
#include "output/job_thumbnails.h"

namespace {

HINSTANCE ResourceModule() {
  HINSTANCE module = static_cast<HINSTANCE>(GetModuleInstance());
  return module ? module : GetModuleHandleA(nullptr);
}

// Copies a bitmap's top-left width x height to (x, y).
void DrawBitmapAt(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// Matched for the monitor through a copy (matching may change the pixels);
// the shown thumbnail itself when that draws nothing.
void DrawThumbnail(HDC dc, HWND window, const JobItem& item, const WinRect& place) {
  const int w = item.thumbRect.right - item.thumbRect.left, h = item.thumbRect.bottom - item.thumbRect.top;
  uint32_t* bits = nullptr;
  void* copy = CreateJobBitmap(w, h, &bits);
  bool drawn = false;
  if (copy) {
    std::memcpy(bits, item.thumbShownBits, size_t(w) * size_t(h) * 4);
    drawn = JobWindow().drawMatchedThumbnail(dc, window, copy, bits, item.thumbRect, place);
    DeleteJobBitmap(copy);
  }
  if (!drawn)
    DrawBitmapAt(dc, static_cast<HBITMAP>(item.thumbShown), place.left, place.top, place.right - place.left,
                 place.bottom - place.top);
}

void DrawPicture(HDC dc, uint16_t id, WinPoint at, int width, int height) {
  HBITMAP picture = LoadBitmapA(ResourceModule(), MAKEINTRESOURCEA(id));
  if (!picture) return;
  DrawBitmapAt(dc, picture, at.x, at.y, width, height);
  DeleteObject(picture);
}

void Line(HDC dc, COLORREF colour, const POINT* points, int count) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  Polyline(dc, points, count);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawGround(HDC dc, int w, int h, UINT state, bool isEditedRow) {
  RECT all = {0, 0, w, h};
  FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
  RECT inner = {2, 2, w - 2, h - 2};
  if (state & ODS_SELECTED) FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const POINT shadow[] = {{2, h - 2}, {2, 2}, {w - 3, 2}};
  const POINT light[] = {{w - 2, 2}, {w - 2, h - 2}, {3, h - 2}};
  Line(dc, GetSysColor(COLOR_BTNSHADOW), shadow, 3);
  Line(dc, RGB(255, 255, 255), light, 3);
  if (isEditedRow) {
    const POINT frame[] = {{5, 5}, {w - 4, 5}, {w - 4, h - 4}, {5, h - 4}, {5, 5}};
    Line(dc, GetSysColor(COLOR_HIGHLIGHT), frame, 5);
  }
}

void DrawTexts(HDC dc, int w, int h, const JobItem& item) {
  HFONT font = CreateFontA(-MulDiv(7, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH,
                           "Small Fonts");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  const auto lines = JobRowTexts(item);
  RECT measure = {kRowTextLeft, 0, w - 6, 0};
  DrawTextA(dc, lines[0].c_str(), -1, &measure, DT_SINGLELINE | DT_CALCRECT);
  const int lineHeight = measure.bottom - measure.top;
  int top = JobRowFirstLineTop(h, lineHeight);
  for (const std::string& line : lines) {
    RECT place = {kRowTextLeft, top, w - 6, top + lineHeight};
    DrawTextA(dc, line.c_str(), -1, &place, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    top += lineHeight + 1;
  }
  SelectObject(dc, old);
  DeleteObject(font);
}

}  // namespace

void DrawJobRow(HDC dc, const RECT& itemRect, UINT, UINT state, bool isEditedRow, const JobItem& item) {
  const int w = itemRect.right - itemRect.left, h = itemRect.bottom - itemRect.top;
  HBITMAP canvas = CreateCompatibleBitmap(dc, w, h);
  HDC memory = canvas ? CreateCompatibleDC(dc) : nullptr;
  if (!memory) {
    if (canvas) DeleteObject(canvas);
    return;
  }
  HGDIOBJ old = SelectObject(memory, canvas);
  DrawGround(memory, w, h, state, isEditedRow);
  const JobRowLayout layout = LayoutJobRow(item, w, h);
  if (layout.hasThumbnail) DrawThumbnail(memory, WindowFromDC(dc), item, layout.thumbnail);
  for (const JobRowPicture& picture : layout.pictures)
    DrawPicture(memory, picture.id, picture.at, kRowPictureWidth, kRowPictureHeight);
  DrawTexts(memory, w, h, item);
  if (layout.statusPicture) DrawPicture(memory, layout.statusPicture, layout.statusAt, kRowStatusSize, kRowStatusSize);
  BitBlt(dc, itemRect.left, itemRect.top, w, h, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(canvas);
}
