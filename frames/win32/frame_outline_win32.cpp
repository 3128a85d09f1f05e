#include "frames/win32/frame_outline_win32.h"

#include "frames/frame_outline_style.h"

namespace {

HBRUSH gBrushes[kFrameStyleCount] = {};
bool gBrushesMade = false;
uint16_t gStyle = kOtherFrameStyle;
bool gLineMode = false;
HPEN gXorPen = nullptr;
HGDIOBJ gPenBefore = nullptr;
int gMixBefore = 0;

void MakeBrushes() {
  gBrushesMade = true;
  for (int s = 0; s < kFrameStyleCount; ++s) {
    WORD rows[8];
    for (int r = 0; r < 8; ++r) rows[r] = FrameStylePatternRow(s, r);
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    gBrushes[s] = pattern ? CreatePatternBrush(pattern) : nullptr;
    if (pattern) DeleteObject(pattern);
  }
}

HBRUSH CurrentBrush() {
  if (!gBrushesMade) MakeBrushes();
  HBRUSH brush = gStyle < kFrameStyleCount ? gBrushes[gStyle] : nullptr;
  return brush ? brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

}  // namespace

void SetFrameDrawStyle(uint16_t style) { gStyle = style; }
void SetFrameLineMode(bool on) { gLineMode = on; }

void DrawFrameOutline(HDC dc, const RECT* rect) {
  const int mix = GetROP2(dc);
  if (!gLineMode) {
    SetBrushOrgEx(dc, 0, 0, nullptr);
    SetROP2(dc, R2_COPYPEN);
    FrameRect(dc, rect, CurrentBrush());
  } else {
    SetROP2(dc, R2_NOT);
    MoveToEx(dc, rect->left, rect->top, nullptr);
    LineTo(dc, rect->right - 1, rect->top);
    LineTo(dc, rect->right - 1, rect->bottom - 1);
    LineTo(dc, rect->left, rect->bottom - 1);
    LineTo(dc, rect->left, rect->top);
  }
  SetROP2(dc, mix);
}

void BeginXorPen(HDC dc, uint16_t animatedStyle) {
  gStyle = animatedStyle;
  if (!gXorPen) gXorPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  gPenBefore = SelectObject(dc, gXorPen);
  gMixBefore = SetROP2(dc, R2_NOT);
}

void EndXorPen(HDC dc) {
  SetROP2(dc, gMixBefore);
  if (gPenBefore) SelectObject(dc, gPenBefore);
  gPenBefore = nullptr;
  if (gXorPen) DeleteObject(gXorPen);
  gXorPen = nullptr;
}

void FreeFrameBrushes() {
  for (HBRUSH& brush : gBrushes) {
    if (brush) DeleteObject(brush);
    brush = nullptr;
  }
  gBrushesMade = false;
}
