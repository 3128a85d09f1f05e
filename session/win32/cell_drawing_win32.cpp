#include <windows.h>

#include <cstring>

#include "session/cell_thumbnail.h"
#include "session/overview_cells.h"
#include "session/overview_window.h"

bool DrawThumbnailCell(int cell, void* deviceContext, int32_t x, int32_t y, void*) {
  HDC dc = static_cast<HDC>(deviceContext);
  if (!dc || cell < 1 || cell > static_cast<int>(gOverview.cells.size())) return false;

  // The cell's frame: a raised button-face square.
  RECT frame = {x, y, x + kOverviewCellSize, y + kOverviewCellSize};
  FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);

  CachedThumbnail thumbnail;
  if (GetCellThumbnail(cell, &thumbnail)) {
    int32_t width = thumbnail.bitmap.width;
    int32_t height = -thumbnail.bitmap.height;
    CellRect fitted = FitThumbnailInCell(width, height);
    BITMAPINFO info = {};
    std::memcpy(&info.bmiHeader, &thumbnail.bitmap, sizeof info.bmiHeader);
    StretchDIBits(dc, x + fitted.left, y + fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top, 0, 0,
                  width, height, thumbnail.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }

  RECT text = {x + kCellTextArea.left, y + kCellTextArea.top, x + kCellTextArea.right, y + kCellTextArea.bottom};
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkMode(dc, OPAQUE);
  char name[260];
  std::strncpy(name, gOverview.cells[static_cast<size_t>(cell - 1)].name, sizeof name - 1);
  name[sizeof name - 1] = '\0';
  DrawTextA(dc, name, -1, &text, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER);
  return true;
}
