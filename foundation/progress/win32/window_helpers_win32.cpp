#include "foundation/progress/win32/window_helpers_win32.h"

#include <cstring>

#include "foundation/memory.h"

HINSTANCE ResourceModule() {
  ModuleHandle module = GetModuleInstance();
  return module ? static_cast<HINSTANCE>(module) : GetModuleHandleA(nullptr);
}

void CenterWindowOver(HWND window, HWND over) {
  RECT area;
  if (!over || !GetWindowRect(over, &area)) SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  RECT r;
  GetWindowRect(window, &r);
  int x = area.left + ((area.right - area.left) - (r.right - r.left)) / 2;
  int y = area.top + ((area.bottom - area.top) - (r.bottom - r.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetItemTextIfChanged(HWND dialog, int item, const char* text) {
  char current[512];
  GetDlgItemTextA(dialog, item, current, sizeof current);
  if (std::strcmp(current, text) != 0) SetDlgItemTextA(dialog, item, text);
}

void PaintNow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }
