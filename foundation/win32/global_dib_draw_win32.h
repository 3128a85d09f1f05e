// GlobalDibs drawn into windows at the same coordinates (the plain path; the
// colour-matched, oriented path belongs to the preview rendering).
#pragma once

#include <windows.h>

#include "foundation/global_dib.h"

// The image's BITMAPINFO for GDI: 8-bit GlobalDibs have no colour table, and
// GDI would read their rows as colours without one; they get a grey one in info.
struct GlobalDibDrawInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};
const BITMAPINFO* GlobalDibBitmapInfo(const DibHeader* dib, GlobalDibDrawInfo* info);
// StretchDIBits of the source rectangle of the image onto the destination.
// Its rows go over as an image of their own: the call's source y is counted
// differently for top-down images, and a whole image needs none.
void StretchGlobalDibPart(HDC dc, const RECT& destination, const DibHeader* dib, const RECT& source);

// The colour-matched path: the rectangle of the image drawn into the preview
// with its orientation and the monitor matching. The preview rendering above
// installs it at module attach; until then matched drawing takes the plain path.
using MatchedDibDraw = void (*)(const DibHeader* dib, HDC dc, const RECT& rect);
void InstallMatchedDibDraw(MatchedDibDraw draw);

// Rows [first, first + count) (count 0: all) into the item (or the window
// itself for id 0), on the given device context or the target's own.
void DrawGlobalDibRows(const DibHeader* dib, HWND window, int itemId, HDC dc, int32_t first, int32_t count,
                       bool colourMatched = false);
// One rectangle of the image at the same place.
void DrawGlobalDibRect(const DibHeader* dib, HWND window, int itemId, HDC dc, const RECT& rect,
                       bool colourMatched = false);
// The source rectangle stretched over the item's whole client area.
void StretchGlobalDibToItem(const DibHeader* dib, HWND window, int itemId, const RECT& source);
