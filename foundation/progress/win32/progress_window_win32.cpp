// The progress window (dialog 199) over its level stack.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "foundation/log/caught_exception.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "foundation/log/module_string.h"
#include "foundation/memory.h"
#include "foundation/progress/progress_stack.h"
#include "foundation/progress/progress_window.h"
#include "foundation/progress/session_values.h"
#include "foundation/system.h"

HWND gProgressWindow = nullptr;
ProgressStack gProgressStack;
uint8_t gProgressCancelled = 0;

namespace {

std::string LoadText(int32_t id) { return ModuleString(static_cast<uint32_t>(id)); }

INT_PTR OnProgressWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == kProgressCancelItem) {
    gProgressCancelled = 1;
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback<INT_PTR>("ProgressWindowProc", FALSE,
                                  [&] { return OnProgressWindowMessage(window, message, wParam, lParam); });
}

// Newer common controls draw a smooth bar in the window's own colours: the
// dialog's bar is replaced by one with the smooth style at the same place.
void UseSmoothBar(HWND dialog) {
  if (!CommonControlsDrawSmoothBar(GetDllVersion("comctl32.dll"))) return;
  HWND old = GetDlgItem(dialog, kProgressBarItem);
  if (!old) return;
  RECT r;
  GetWindowRect(old, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  DWORD style = static_cast<DWORD>(GetWindowLongA(old, GWL_STYLE)) | PBS_SMOOTH;
  DWORD exStyle = static_cast<DWORD>(GetWindowLongA(old, GWL_EXSTYLE));
  DestroyWindow(old);
  HWND bar = CreateWindowExA(exStyle, PROGRESS_CLASSA, "", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kProgressBarItem)), DialogModule(), nullptr);
  SendMessageA(bar, PBM_SETBARCOLOR, 0, kProgressBarColor);
  SendMessageA(bar, PBM_SETBKCOLOR, 0, kProgressBackgroundColor);
}

bool CreateProgressWindow(HWND owner) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  gProgressWindow = CreateDialogParamA(DialogModule(), MAKEINTRESOURCEA(kProgressDialog), owner, ProgressWindowProc, 0);
  if (!gProgressWindow) return false;
  UseSmoothBar(gProgressWindow);
  SendDlgItemMessageA(gProgressWindow, kProgressBarItem, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  HWND centreOver = static_cast<HWND>(OwnerWindowForDialogs());
  CenterOnParent(gProgressWindow, centreOver ? centreOver : owner);
  ShowWindow(gProgressWindow, SW_SHOW);
  gProgressCancelled = 0;
  return true;
}

void ShowTopLevel() {
  ProgressLevel* top = TopProgressLevel(&gProgressStack);
  if (!gProgressWindow || !top) return;
  SetItemTextIfChanged(gProgressWindow, kProgressTextItem, ProgressLevelText(*top, LoadText).c_str());
  EnableItem(gProgressWindow, kProgressCancelItem, top->cancelAllowed != 0);
}

// Dispatches one pending mouse message of the window or one of its controls,
// unless the main accelerator table takes it.
void LetOneMouseMessageThrough(HWND window) {
  if (!window) return;
  MSG message;
  bool found = PeekMessageA(&message, window, WM_MOUSEFIRST, WM_MBUTTONDBLCLK, PM_REMOVE);
  for (HWND child = GetWindow(window, GW_CHILD); !found && child; child = GetWindow(child, GW_HWNDNEXT)) {
    found = PeekMessageA(&message, child, WM_MOUSEFIRST, WM_MBUTTONDBLCLK, PM_REMOVE);
  }
  if (!found) return;
  auto translate = InstalledSessionServices().translateMainAccelerator;
  if (translate && translate(&message)) return;
  DispatchMessageA(&message);
}

}  // namespace

void ProgressOpen(bool cancelAllowed, int32_t title, int32_t subtitleId, WindowHandle owner) {
  if (!gProgressWindow && !CreateProgressWindow(static_cast<HWND>(owner))) return;
  if (!PushProgressLevel(&gProgressStack, cancelAllowed, title, subtitleId)) return;
  ShowTopLevel();
  ProgressSetBar(0.0f, 0, 0);
}

void ProgressSetText(const char* text) {
  ProgressLevel* top = TopProgressLevel(&gProgressStack);
  if (!top) return;
  top->title = kOwnTitle;
  lstrcpynA(top->ownTitle, text, sizeof top->ownTitle);
  ShowTopLevel();
}

void ProgressSetSubtitle(int32_t subtitleId) {
  ProgressLevel* top = TopProgressLevel(&gProgressStack);
  if (!top) return;
  top->subtitle = subtitleId;
  ShowTopLevel();
}

bool ProgressUpdate(int32_t done, int32_t total, int32_t n, int32_t of) {
  ProgressLevel* top = TopProgressLevel(&gProgressStack);
  if (!top) return gProgressCancelled != 0;
  ProgressSetBar(ProgressFraction(done, total), n, of);
  if (top->cancelAllowed) {
    LetOneMouseMessageThrough(gProgressWindow);
    LetOneMouseMessageThrough(static_cast<HWND>(JobManagerWindow()));
    LetOneMouseMessageThrough(static_cast<HWND>(MultiJobWindow()));
    if (!gProgressCancelled) gProgressCancelled = CancelKeysDown() ? 1 : 0;
  }
  return gProgressCancelled != 0;
}

void ProgressSetBar(float fraction, int32_t n, int32_t of) {
  if (!gProgressWindow) return;
  HWND bar = GetDlgItem(gProgressWindow, kProgressBarItem);
  SendMessageA(bar, PBM_SETPOS, ProgressBarPosition(fraction), 0);
  // Long operations pump no messages: the bar is painted now.
  UpdateWindow(bar);
  SetItemTextIfChanged(gProgressWindow, kProgressCounterItem, ProgressCounterText(n, of).c_str());
}

void ProgressClose() {
  PopProgressLevel(&gProgressStack);
  if (gProgressStack.count > 0) {
    ShowTopLevel();
    return;
  }
  if (gProgressWindow) DestroyWindow(gProgressWindow);
  gProgressWindow = nullptr;
}

bool IsProgressCancelled() { return gProgressCancelled != 0; }
void SetProgressCancelled(bool cancelled) { gProgressCancelled = cancelled ? 1 : 0; }
WindowHandle GetProgressWindow() { return gProgressWindow; }

void GetPaleFaceColor(uint32_t* color, bool plain) {
  uint32_t face = GetSysColor(COLOR_BTNFACE);
  *color = plain ? face : PaleColor(face);
}
