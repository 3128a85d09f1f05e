#include <windows.h>

#include "foundation/progress/progress_window.h"
#include "ui/progress_pane_platform.h"

bool ProgressPictureArea(WinRect* rect, WindowHandle* control) {
  HWND window = static_cast<HWND>(GetProgressWindow());
  HWND picture = window ? GetDlgItem(window, kProgressPictureItem) : nullptr;
  RECT client;
  if (!picture || !GetClientRect(picture, &client)) return false;
  *rect = WinRect{client.left, client.top, client.right, client.bottom};
  *control = picture;
  return true;
}

uint32_t PanePaleFaceColour() {
  uint32_t colour = 0;
  GetPaleFaceColor(&colour, false);
  return colour;
}

void ClearPaneArea(const PreviewPane& pane) {
  HWND control = static_cast<HWND>(pane.control);
  HDC dc = control ? GetDC(control) : nullptr;
  if (!dc) return;
  const RECT area = {pane.paneRect.left, pane.paneRect.top, pane.paneRect.right, pane.paneRect.bottom};
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(control, dc);
}

// Not built yet: the preview drawing of the main window (fitted, oriented and
// matched drawing into a window and into a bitmap) shows the small copy.
bool ShowPaneCopy(const PreviewPane&, bool, bool, bool) { return false; }
void* SmallCopyBitmap(const PreviewPane&, bool, bool, bool, uint8_t** bits) {
  *bits = nullptr;
  return nullptr;
}
