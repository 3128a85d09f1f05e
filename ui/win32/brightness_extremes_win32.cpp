#include "ui/win32/brightness_extremes_win32.h"

#include "foundation/dialogs/win32/drawing_win32.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/brightness_extremes.h"
#include "ui/frame_region_refresh.h"

namespace {

constexpr int kPreviewControl = 1047;
constexpr uint32_t kMarkerBitmap = 305;
constexpr uint32_t kHoldPollMilliseconds = 10;

// The marker's monochrome mask: its white background lets the preview show.
HBITMAP WhiteMask(HBITMAP image, int width, int height) {
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  HDC from = CreateCompatibleDC(nullptr);
  HDC to = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFrom = SelectObject(from, image);
  HGDIOBJ oldTo = SelectObject(to, mask);
  SetBkColor(from, RGB(255, 255, 255));
  BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  return mask;
}

// The marker centred on the image point, in the oriented preview control.
RECT DrawMarker(HWND control, WinPoint at) {
  HBITMAP image = LoadBitmapA(static_cast<HINSTANCE>(GetModuleInstance()), MAKEINTRESOURCEA(kMarkerBitmap));
  BITMAP size = {};
  if (!image || !GetObjectA(image, sizeof size, &size)) return RECT{};
  const PixelRect bounds = {0, 0, gPreviewDib->width, GlobalDibHeight(gPreviewDib)};
  PixelPoint point = {at.x, at.y};
  MapPointToPreview(&point, &bounds, OrientationFlipX(), OrientationFlipY(), OrientationSwapAxes());
  RECT place = {point.x - size.bmWidth / 2, point.y - size.bmHeight / 2, 0, 0};
  place.right = place.left + size.bmWidth;
  place.bottom = place.top + size.bmHeight;
  DrawMaskedBitmap(control, image, 0, &place, 0, WhiteMask(image, size.bmWidth, size.bmHeight));
  DeleteObject(image);
  return place;
}

// The active window is one of the data source's tool windows.
bool ToolWindowActive(HWND dialog) {
  HWND active = GetActiveWindow();
  return active && (active == dialog || active == static_cast<HWND>(gJobManagerWindow));
}

}  // namespace

void ShowBrightnessExtremes(HWND dialog, const RECT* button) {
  const FrameRecord* frame = gCurrentFrame;
  HWND control = GetDlgItem(dialog, kPreviewControl);
  if (!gPreviewDib || !frame || !control || !ToolWindowActive(dialog)) return;
  if (!button && !IsKeyDown(VK_CONTROL)) return;
  const Rect16 frameRect = FrameImageRect(*frame);
  const WinRect area = {frameRect.left, frameRect.top, frameRect.right, frameRect.bottom};
  auto held = [button] {
    return button ? IsKeyDown(kVirtualKeyLeftButton) : IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU);
  };
  RECT marked = {}, shown = {};
  WinPoint shownPoint = {-1, -1};
  do {
    bool brightest = IsKeyDown(VK_SHIFT);
    if (button) {
      const WinPoint at = CursorScreenPosition();
      POINT cursor = {at.x, at.y};
      ScreenToClient(dialog, &cursor);
      brightest = BrightestAtCursor(WinRect{button->left, button->top, button->right, button->bottom}, cursor.y);
    }
    WinPoint point;
    if (FindBrightnessExtreme(gPreviewDib, area, brightest, &point) &&
        (point.x != shownPoint.x || point.y != shownPoint.y)) {
      // The previous marker goes before the new one is drawn.
      InvalidateRect(control, &shown, FALSE);
      UpdateWindow(control);
      shown = DrawMarker(control, point);
      shownPoint = point;
      UnionRect(&marked, &marked, &shown);
    }
    SleepMs(kHoldPollMilliseconds);
  } while (held());
  // Repainting the marked area draws the preview and the frames over it again.
  InvalidateRect(control, &marked, FALSE);
  UpdateWindow(control);
}
