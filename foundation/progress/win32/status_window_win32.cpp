// The status window (dialog 307) over its level stack.
#include <windows.h>

#include <cstring>

#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "foundation/memory.h"
#include "foundation/progress/progress_stack.h"
#include "foundation/progress/progress_window.h"
#include "foundation/system.h"

HWND gStatusWindow = nullptr;
StatusStack gStatusStack;

namespace {

// During an IT8 calibration the window stays over the calibration's own dialog.
HWND CentreOver(HWND owner) {
  char wanted[256], title[256];
  HWND foreground = GetForegroundWindow();
  if (LoadResourceString(GetModuleInstance(), kIt8CalibrationTitleString, wanted, sizeof wanted) > 0 && foreground &&
      GetWindowTextA(foreground, title, sizeof title) > 0 && std::strcmp(title, wanted) == 0) {
    return owner;
  }
  HWND main = static_cast<HWND>(MainDialogWindow());
  return main ? main : owner;
}

void ShowTopText() {
  if (!gStatusWindow || gStatusStack.count == 0) return;
  char text[256] = "";
  LoadResourceString(GetModuleInstance(), static_cast<uint32_t>(gStatusStack.stringIds[gStatusStack.count - 1]), text,
                     sizeof text);
  SetItemTextIfChanged(gStatusWindow, kProgressTextItem, text);
}

}  // namespace

void StatusOpen(int32_t stringId, WindowHandle owner) {
  if (!gStatusWindow) {
    // The window only shows a text: it needs no procedure of its own.
    gStatusWindow = CreateDialogParamA(DialogModule(), MAKEINTRESOURCEA(kStatusDialog), static_cast<HWND>(owner), nullptr, 0);
    if (!gStatusWindow) return;
    CenterOnParent(gStatusWindow, CentreOver(static_cast<HWND>(owner)));
    ShowWindow(gStatusWindow, SW_SHOWNOACTIVATE);
  }
  if (PushStatusLevel(&gStatusStack, stringId)) ShowTopText();
}

void StatusClose() {
  PopStatusLevel(&gStatusStack);
  if (gStatusStack.count > 0) {
    ShowTopText();
    return;
  }
  if (gStatusWindow) DestroyWindow(gStatusWindow);
  gStatusWindow = nullptr;
}
