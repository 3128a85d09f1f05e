// The brightest or darkest point of the current frame, marked on the preview
// while tool-strip button 1224 (or Ctrl) is held.
#pragma once

#include <windows.h>

// With the button's rectangle in dialog coordinates the cursor's half of it
// chooses brightest (upper) or darkest (lower) while the left button is held;
// without one (null) Shift chooses, for as long as Ctrl is held without Alt.
void ShowBrightnessExtremes(HWND dialog, const RECT* button);
