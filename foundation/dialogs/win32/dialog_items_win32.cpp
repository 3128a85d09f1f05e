#include "foundation/dialogs/win32/dialog_items_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "foundation/decimal.h"
#include "foundation/dialogs/item_value_rules.h"
#include "foundation/win32/gdi_helpers_win32.h"

namespace {

constexpr int kItemTextSize = 256;

void CenterOver(HWND window, const RECT& over) {
  RECT own;
  GetWindowRect(window, &own);
  int width = own.right - own.left;
  int height = own.bottom - own.top;
  int left = over.left + (over.right - over.left) / 2 - width / 2;
  int top = over.top + (over.bottom - over.top) / 2 - height / 2;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void UpdateItemNow(HWND dialog, int item) {
  HWND window = ItemOrDialog(dialog, item);
  if (window) UpdateWindow(window);
}

}  // namespace

HWND ItemOrDialog(HWND dialog, int item) { return item == 0 ? dialog : GetDlgItem(dialog, item); }

void CenterOnScreen(HWND window) {
  HWND desktop = GetDesktopWindow();
  if (!desktop) return;
  RECT screen;
  GetWindowRect(desktop, &screen);
  CenterOver(window, screen);
}

void CenterOnParent(HWND window, HWND other) {
  if (!other) {
    CenterOnScreen(window);
    return;
  }
  RECT over;
  GetWindowRect(other, &over);
  CenterOver(window, over);
}

void GetScreenRect(RECT* rect) { GetWindowRect(GetDesktopWindow(), rect); }

bool ItemWindowRect(HWND dialog, int item, RECT* rect) {
  HWND window = ItemOrDialog(dialog, item);
  return window && GetWindowRect(window, rect);
}

bool ItemClientRect(HWND dialog, int item, RECT* rect) {
  HWND window = ItemOrDialog(dialog, item);
  return window && GetClientRect(window, rect);
}

int ItemClientRect16(HWND dialog, int item, Rect16* rect) {
  RECT client;
  if (!ItemClientRect(dialog, item, &client)) return 0;
  return RectToRect16(*AsWinRect(&client), rect) ? 1 : 0;
}

void MoveItemToRect(HWND dialog, int item, const RECT& screenRect, bool repaint) {
  HWND window = ItemOrDialog(dialog, item);
  if (!window) return;
  POINT topLeft{screenRect.left, screenRect.top};
  HWND parent = GetParent(window);
  if (parent && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) ScreenToClient(parent, &topLeft);
  MoveWindow(window, topLeft.x, topLeft.y, screenRect.right - screenRect.left, screenRect.bottom - screenRect.top,
             repaint);
}

void ResizeItem(HWND dialog, int item, int width, int height, bool repaint) {
  HWND window = ItemOrDialog(dialog, item);
  if (!window) return;
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
  SetWindowPos(window, nullptr, 0, 0, width, height, flags);
}

void EnableItem(HWND dialog, int item, bool enable) {
  HWND window = GetDlgItem(dialog, item);
  if (window) EnableWindow(window, enable);
}

void InvalidateItem(HWND dialog, int item) {
  RECT area;
  if (!ItemWindowRect(dialog, item, &area)) return;
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
  InvalidateRect(dialog, &area, FALSE);
  UpdateWindow(dialog);
}

bool PointInItem(HWND dialog, int item, int x, int y) {
  RECT area;
  POINT point{x, y};
  return ItemWindowRect(dialog, item, &area) && PtInRect(&area, point);
}

void FocusAndSelect(HWND dialog, int item, int start, int end) {
  HWND window = GetDlgItem(dialog, item);
  if (!window) return;
  SetFocus(window);
  SendMessageA(window, EM_SETSEL, start, end);
}

void FitPathToItem(HWND dialog, int item, char* text) {
  HWND window = GetDlgItem(dialog, item);
  RECT client;
  if (!window || !GetClientRect(window, &client)) return;
  HDC dc = GetDC(window);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  DrawTextA(dc, text, -1, &client, DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  ReleaseDC(window, dc);
}

void SetButtonImageIfChanged(HWND dialog, int item, HBITMAP bitmap) {
  HWND button = GetDlgItem(dialog, item);
  if (!button) return;
  if (reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0)) == bitmap) return;
  SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  UpdateWindow(button);
}

double TrackbarFraction(HWND dialog, int item) {
  HWND trackbar = GetDlgItem(dialog, item);
  if (!trackbar) return 0.0;
  LRESULT minimum = SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0);
  LRESULT maximum = SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0);
  if (maximum <= minimum) return 0.0;
  return static_cast<double>(SendMessageA(trackbar, TBM_GETPOS, 0, 0) - minimum) / (maximum - minimum);
}

void SetTrackbarFraction(HWND dialog, int item, double fraction) {
  HWND trackbar = GetDlgItem(dialog, item);
  if (!trackbar) return;
  LRESULT minimum = SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0);
  LRESULT maximum = SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0);
  // The step count is a 16-bit value; one beyond its range is held at its end.
  double steps = (maximum - minimum) * fraction + 0.5;
  steps = steps < -32768.0 ? -32768.0 : steps > 32767.0 ? 32767.0 : steps;
  LRESULT position = minimum + static_cast<int16_t>(steps);
  if (position < minimum) position = minimum;
  if (position > maximum) position = maximum;
  SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
  UpdateWindow(trackbar);
}

int32_t GetItemInt(HWND dialog, int item, bool* translated, bool isSigned) {
  BOOL ok = FALSE;
  int32_t value = static_cast<int32_t>(GetDlgItemInt(dialog, item, &ok, isSigned));
  if (translated) *translated = ok != FALSE;
  return value;
}

void SetItemInt(HWND dialog, int item, int32_t value, bool isSigned) {
  SetDlgItemInt(dialog, item, static_cast<UINT>(value), isSigned);
  UpdateItemNow(dialog, item);
}

bool SetItemIntIfChanged(HWND dialog, int item, int32_t value, bool isSigned) {
  bool translated = false;
  int32_t shown = GetItemInt(dialog, item, &translated, isSigned);
  if (translated && shown == value) return true;
  SetItemInt(dialog, item, value, isSigned);
  return false;
}

int UpdateItemInt(HWND dialog, int item, int32_t value, bool isSigned, bool force) {
  bool translated = false;
  int32_t shown = GetItemInt(dialog, item, &translated, isSigned);
  if (IntFieldUpdateFor(translated, shown, value, force) != IntFieldUpdate::kRewrite) return 0;
  SetItemInt(dialog, item, value, isSigned);
  return 1;
}

void SetItemNumberTextIfChanged(HWND dialog, int item, int32_t value, bool isSigned) {
  bool translated = false;
  int32_t shown = GetItemInt(dialog, item, &translated, isSigned);
  if (translated && shown == value) return;
  char text[32];
  std::snprintf(text, sizeof text, "%ld ", static_cast<long>(value));
  SetDlgItemTextA(dialog, item, text);
}

int GetItemText(HWND dialog, int item, char* text) {
  text[0] = '\0';
  return static_cast<int>(GetDlgItemTextA(dialog, item, text, kItemTextSize));
}

double ReadNumberFromEdit(HWND dialog, int item, double fallback, bool* invalid) {
  char text[kItemTextSize];
  GetItemText(dialog, item, text);
  return ReadNumberText(text, fallback, invalid);
}

int GetItemPString(HWND dialog, int item, unsigned char* text) {
  char buffer[kItemTextSize];
  GetItemText(dialog, item, buffer);
  PStrFromC(text, buffer);
  return PStrLength(text);
}

int SetItemTextIfChanged(HWND dialog, int item, const char* text) {
  char shown[kItemTextSize];
  GetItemText(dialog, item, shown);
  if (std::strcmp(shown, text) == 0) return 1;
  SetDlgItemTextA(dialog, item, text);
  UpdateItemNow(dialog, item);
  return 0;
}

int SetItemPStringIfChanged(HWND dialog, int item, const unsigned char* text) {
  char buffer[kItemTextSize];
  PStrToText(text, buffer);
  return SetItemTextIfChanged(dialog, item, buffer);
}

bool SetItemRealIfChanged(HWND dialog, int item, float value, int decimals) {
  char shown[kItemTextSize];
  GetItemText(dialog, item, shown);
  if (!RealFieldNeedsWrite(shown, value, decimals)) return false;
  PString formatted;
  FormatDecimal(formatted, value, decimals);
  char text[kItemTextSize];
  PStrToText(formatted, text);
  bool written = SetDlgItemTextA(dialog, item, text) != FALSE;
  UpdateItemNow(dialog, item);
  return written;
}
