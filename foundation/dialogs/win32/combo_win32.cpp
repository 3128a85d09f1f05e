#include "foundation/dialogs/win32/combo_win32.h"

#include <cstring>

#include "foundation/system.h"

namespace {

constexpr int kComboTextSize = 256;

LRESULT Send(HWND dialog, int combo, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendDlgItemMessageA(dialog, combo, message, wParam, lParam);
}

LPARAM TextParam(const char* text) { return reinterpret_cast<LPARAM>(text); }

}  // namespace

void ComboFillFromStrings(HWND dialog, int combo, uint32_t firstId, uint32_t lastId) {
  for (uint32_t id = firstId; id <= lastId; ++id) {
    char text[kComboTextSize];
    if (LoadResourceString(GetModuleInstance(), id, text, sizeof text) > 0) ComboAddText(dialog, combo, text);
  }
}

void ComboAddText(HWND dialog, int combo, const char* text) { Send(dialog, combo, CB_ADDSTRING, 0, TextParam(text)); }

int ComboInsertStringId(HWND dialog, int combo, int position, uint32_t stringId) {
  char text[kComboTextSize];
  if (LoadResourceString(GetModuleInstance(), stringId, text, sizeof text) == 0) return 0;
  ComboInsertText(dialog, combo, position, text);
  return 1;
}

void ComboInsertText(HWND dialog, int combo, int position, const char* text) {
  Send(dialog, combo, CB_INSERTSTRING, static_cast<WPARAM>(position), TextParam(text));
}

int32_t ComboItemData(HWND dialog, int combo, int position) {
  return static_cast<int32_t>(Send(dialog, combo, CB_GETITEMDATA, static_cast<WPARAM>(position)));
}

void ComboSetItemData(HWND dialog, int combo, int position, int32_t value) {
  Send(dialog, combo, CB_SETITEMDATA, static_cast<WPARAM>(position), static_cast<LPARAM>(value));
}

void ComboItemText(HWND dialog, int combo, int index, char* text) {
  text[0] = '\0';
  if (index < 1) return;
  LRESULT length = Send(dialog, combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index - 1));
  if (length == CB_ERR || length >= kComboTextSize) return;
  Send(dialog, combo, CB_GETLBTEXT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(text));
}

int ComboCount(HWND dialog, int combo) {
  LRESULT count = Send(dialog, combo, CB_GETCOUNT);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

void ComboClear(HWND dialog, int combo) { Send(dialog, combo, CB_RESETCONTENT); }

int ComboSelection(HWND dialog, int combo) {
  LRESULT selection = Send(dialog, combo, CB_GETCURSEL);
  return selection == CB_ERR ? 0 : static_cast<int>(selection) + 1;
}

void ComboSelect(HWND dialog, int combo, int index) {
  if (index <= 0) return;
  Send(dialog, combo, CB_SETCURSEL, static_cast<WPARAM>(index - 1));
}

int ComboFindText(HWND dialog, int combo, const char* text) {
  int count = ComboCount(dialog, combo);
  for (int index = 1; index <= count; ++index) {
    char item[kComboTextSize];
    ComboItemText(dialog, combo, index, item);
    if (std::strcmp(item, text) == 0) return index;
  }
  return 0;
}

bool ComboSelectText(HWND dialog, int combo, const char* text) {
  int index = ComboFindText(dialog, combo, text);
  if (index == 0) return false;
  if (ComboSelection(dialog, combo) != index) ComboSelect(dialog, combo, index);
  return true;
}

void ComboFitWidth(HWND dialog, int combo) {
  HWND window = GetDlgItem(dialog, combo);
  if (!window) return;
  HDC dc = GetDC(window);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  int widest = 0;
  int count = ComboCount(dialog, combo);
  for (int index = 1; index <= count; ++index) {
    char item[kComboTextSize];
    ComboItemText(dialog, combo, index, item);
    SIZE size;
    if (GetTextExtentPoint32A(dc, item, static_cast<int>(std::strlen(item)), &size) && size.cx > widest) {
      widest = size.cx;
    }
  }
  SelectObject(dc, oldFont);
  ReleaseDC(window, dc);
  SendMessageA(window, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + 20), 0);
}
