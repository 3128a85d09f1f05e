#include "ui/win32/dialog_positions_win32.h"

#include "ui/window_state_records.h"

void RestoreDialogPosition(HWND window, int slot) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (slot == kCentredSlot) {
    MoveWindow(window, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
               width, height, TRUE);
  } else if (slot >= 0 && slot < kDialogPositionSlots) {
    MoveWindow(window, gDialogPositions[slot].x, gDialogPositions[slot].y, width, height, TRUE);
  }
}

void StoreWindowPosition(HWND window, int slot) {
  RECT r;
  if (GetWindowRect(window, &r)) StoreDialogPosition(slot, r.left, r.top);
}
