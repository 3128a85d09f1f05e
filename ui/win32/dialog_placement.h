// Hiding, showing and re-laying out dialog controls, and fitting a dialog to
// its controls. A control is hidden by moving it 16000 units to the right
// (and hiding it), so that the gaps it leaves can be found and closed.
#pragma once

#include <windows.h>

#include "ui/layout_table.h"

constexpr int kOffscreenX = 16000;

// parent null: the control's own parent. repaint goes to MoveWindow.
// True when the control was off screen already (then it is not moved again).
bool HideByOffscreen(HWND control, HWND parent, bool repaint);
// True when the control was on screen already (then it is left as it is).
bool ShowFromOffscreen(HWND control, HWND parent, bool repaint);
// The control's left edge in the parent's client coordinates is at 16000 or beyond.
bool IsOffscreen(HWND control, HWND parent);

// After the item was hidden: every visible control below it moves up by the
// smallest distance from the item's top to the top of one of them.
void CloseGapAtItem(HWND dialog, int itemId);
// Sizes the dialog's client area to the visible controls' bounding box plus
// the margin (right and bottom), on one axis only when asked.
void FitDialogToChildren(HWND dialog, bool widthOnly, bool heightOnly, int margin);

// Records each listed control's rectangle in dialog coordinates and their
// bounding box.
void CaptureLayout(HWND dialog, LayoutEntry* table, int count, UiRect* bounds);
// Moves each listed control to its target, hiding those with hidden targets.
void ApplyLayout(HWND dialog, const LayoutEntry* table, int count);
