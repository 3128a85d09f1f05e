// Tool windows at their remembered positions.
#pragma once

#include <windows.h>

// Slot 99 centres the window on the screen; a slot below 50 moves its
// top-left corner to the slot's position, keeping its size.
void RestoreDialogPosition(HWND window, int slot);
// Remembers the window's top-left corner in the slot (below 50 only).
void StoreWindowPosition(HWND window, int slot);
