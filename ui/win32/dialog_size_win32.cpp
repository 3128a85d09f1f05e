#include "ui/win32/dialog_size_win32.h"

#include "ui/window_state_records.h"

namespace {

constexpr int kPreviewControl = 1047;

RECT ControlRectInScreen(HWND dialog) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, kPreviewControl), &r);
  return r;
}

}  // namespace

bool LoadDialogSize(HWND dialog, SIZE* size, uint16_t* extraWidth, uint16_t* extraHeight, bool zoomed) {
  const RECT control = ControlRectInScreen(dialog);
  size->cx = control.right - control.left;
  size->cy = control.bottom - control.top;
  *extraWidth = 16;
  *extraHeight = 24;
  DialogSizeRecord stored;
  if (!ReadDialogSizeRecord(&stored) || !StoredDialogSizeFits(stored, zoomed)) return false;
  size->cx = stored.previewWidth;
  size->cy = stored.previewHeight;
  *extraWidth = stored.extraWidth;
  *extraHeight = stored.extraHeight;
  return true;
}

void SaveDialogSize(HWND dialog) {
  const RECT control = ControlRectInScreen(dialog);
  RECT window;
  GetWindowRect(dialog, &window);
  WriteDialogSizeRecord(control.right - control.left, control.bottom - control.top,
                        static_cast<uint16_t>(window.right - control.right),
                        static_cast<uint16_t>(window.bottom - control.bottom));
}

void ApplyStoredDialogSize(HWND dialog, bool zoomed) {
  SIZE size;
  uint16_t extraWidth, extraHeight;
  if (!LoadDialogSize(dialog, &size, &extraWidth, &extraHeight, zoomed)) return;
  HWND control = GetDlgItem(dialog, kPreviewControl);
  RECT r = ControlRectInScreen(dialog);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  MoveWindow(control, r.left, r.top, size.cx, size.cy, FALSE);
  RECT window;
  GetWindowRect(dialog, &window);
  RECT controlInScreen = ControlRectInScreen(dialog);
  SetWindowPos(dialog, nullptr, 0, 0, controlInScreen.right + extraWidth - window.left,
               controlInScreen.bottom + extraHeight - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
