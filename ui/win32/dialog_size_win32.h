// The main window's stored size ("DSiz") against its preview control 1047.
#pragma once

#include <windows.h>

#include <cstdint>

// The preview control's size and the extra size around it: the current ones
// (extra 16, 24) unless the stored record of the current mode is taken
// (always when zoomed, else only when it fits the scan area's proportions); true when taken.
bool LoadDialogSize(HWND dialog, SIZE* size, uint16_t* extraWidth, uint16_t* extraHeight, bool zoomed);
// Measures the preview control and the dialog and stores them for the current mode.
void SaveDialogSize(HWND dialog);
// A stored size, when taken, given to the preview control and the dialog
// before the window is laid out.
void ApplyStoredDialogSize(HWND dialog, bool zoomed);
