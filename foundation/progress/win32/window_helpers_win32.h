// Small helpers of the foundation's windows.
#pragma once

#include <windows.h>

// The module whose resources the windows come from: the data source, or the
// program itself when it runs the code (tests).
HINSTANCE ResourceModule();

// Centres the window over another one, or on the screen when there is none.
void CenterWindowOver(HWND window, HWND over);
// Writes the item's text only when it differs, so that the text does not flicker.
void SetItemTextIfChanged(HWND dialog, int item, const char* text);
// Paints the window and its children now: long operations pump no messages.
void PaintNow(HWND window);
