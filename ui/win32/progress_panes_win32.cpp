#include <windows.h>

#include "foundation/progress/progress_window.h"
#include "state/data_source_state.h"
#include "ui/progress_pane_platform.h"
#include "ui/win32/preview_rendering_win32.h"

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

namespace {

RECT Rect(const WinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool ShowPaneCopy(const PreviewPane& pane, bool flipX, bool flipY, bool swapAxes) {
  return DrawImageIntoWindow(pane.small.image, Rect(pane.small.rect), static_cast<HWND>(pane.control), nullptr,
                             Rect(pane.paneRect), flipX, flipY, swapAxes);
}

void FreePaneBitmap(void* bitmap) {
  if (bitmap) DeleteObject(static_cast<HBITMAP>(bitmap));
}

void* SmallCopyBitmap(const PreviewPane& pane, bool flipX, bool flipY, bool swapAxes, uint8_t** bits) {
  *bits = nullptr;
  const LONG w = pane.small.rect.right - pane.small.rect.left, h = pane.small.rect.bottom - pane.small.rect.top;
  const RECT target = swapAxes ? RECT{0, 0, h, w} : RECT{0, 0, w, h};
  HWND dialog = static_cast<HWND>(gMainDialog);
  HWND owner = dialog && IsWindow(dialog) ? dialog : GetDesktopWindow();
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), target.right, -target.bottom, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = GetDC(owner);
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  ReleaseDC(owner, dc);
  if (!bitmap) return nullptr;
  if (!RenderImageToBitmap(pane.small.image, Rect(pane.small.rect), bitmap, target, flipX, flipY, swapAxes)) {
    DeleteObject(bitmap);
    return nullptr;
  }
  GdiFlush();
  *bits = static_cast<uint8_t*>(pixels);
  return bitmap;
}
