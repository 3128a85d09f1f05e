// Items of a dialog addressed as (dialog, item id): placing and measuring
// them, and reading and writing their values. Item id 0 means the dialog
// window itself where a function says so.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/geometry.h"
#include "foundation/pstring.h"

// The item's window; the dialog itself for item 0.
HWND ItemOrDialog(HWND dialog, int item);

void CenterOnScreen(HWND window);
// Over the other window; with none, CenterOnScreen.
void CenterOnParent(HWND window, HWND other);
void GetScreenRect(RECT* rect);
// Rectangles of the item (or the dialog for item 0); false when it is missing.
bool ItemWindowRect(HWND dialog, int item, RECT* rect);
bool ItemClientRect(HWND dialog, int item, RECT* rect);
// 0 when the item is missing or a value does not fit 16 bits.
int ItemClientRect16(HWND dialog, int item, Rect16* rect);
// Moves and sizes the item to a rectangle in screen coordinates (a child
// window is placed in its parent's client coordinates).
void MoveItemToRect(HWND dialog, int item, const RECT& screenRect, bool repaint);
// New size, top-left corner kept.
void ResizeItem(HWND dialog, int item, int width, int height, bool repaint);
void EnableItem(HWND dialog, int item, bool enable);
// Invalidates the item's area of the dialog without erasing and updates at once.
void InvalidateItem(HWND dialog, int item);
bool PointInItem(HWND dialog, int item, int x, int y);
// Focuses the item and selects characters start to end (-1: to the end).
void FocusAndSelect(HWND dialog, int item, int start, int end);
// Shortens the path in place with a path ellipsis to the item's client width
// in the item's font; text holds at least MAX_PATH bytes.
void FitPathToItem(HWND dialog, int item, char* text);

// Buttons and trackbars.
void SetButtonImageIfChanged(HWND dialog, int item, HBITMAP bitmap);
double TrackbarFraction(HWND dialog, int item);
void SetTrackbarFraction(HWND dialog, int item, double fraction);

// Numbers and texts. Every setter ending in IfChanged writes only when the
// item shows something else, and then updates the item's window at once.
int32_t GetItemInt(HWND dialog, int item, bool* translated, bool isSigned);
void SetItemInt(HWND dialog, int item, int32_t value, bool isSigned);
// True when nothing had to be written.
bool SetItemIntIfChanged(HWND dialog, int item, int32_t value, bool isSigned);
// force: always writes (1). Else 0 when the item already shows the value or
// shows no number (left alone), 1 when it was rewritten.
int UpdateItemInt(HWND dialog, int item, int32_t value, bool isSigned, bool force);
// Writes "%ld " (the number and one blank) unless the item reads as that
// number; the item is not updated at once.
void SetItemNumberTextIfChanged(HWND dialog, int item, int32_t value, bool isSigned);
// At most 256 bytes with the terminator; the length.
int GetItemText(HWND dialog, int item, char* text);
// The item's number (ReadNumberText): the fallback for an empty or, with
// `invalid` given, a malformed text.
double ReadNumberFromEdit(HWND dialog, int item, double fallback, bool* invalid);
int GetItemPString(HWND dialog, int item, unsigned char* text);
// 1 when nothing had to be written.
int SetItemTextIfChanged(HWND dialog, int item, const char* text);
int SetItemPStringIfChanged(HWND dialog, int item, const unsigned char* text);
// Whether it wrote (the value formatted with the decimals).
bool SetItemRealIfChanged(HWND dialog, int item, float value, int decimals);
