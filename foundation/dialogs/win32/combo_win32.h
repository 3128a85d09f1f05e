// Combo boxes of the dialogs. Selection, item text and searching take 1-BASED
// indexes (0 = no item); insertion and item data take 0-BASED positions
// (-1 = at the end).
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/memory.h"

// Appends the string-table texts of ids first to last; ids that do not load are skipped.
void ComboFillFromStrings(HWND dialog, int combo, uint32_t firstId, uint32_t lastId);
void ComboAddText(HWND dialog, int combo, const char* text);
// 0 when the string does not load, else 1.
int ComboInsertStringId(HWND dialog, int combo, int position, uint32_t stringId);
void ComboInsertText(HWND dialog, int combo, int position, const char* text);
int32_t ComboItemData(HWND dialog, int combo, int position);
void ComboSetItemData(HWND dialog, int combo, int position, int32_t value);
// The text of the item at the 1-based index into a buffer of 256 bytes.
void ComboItemText(HWND dialog, int combo, int index, char* text);
int ComboCount(HWND dialog, int combo);
void ComboClear(HWND dialog, int combo);
// 1-based, 0 for none.
int ComboSelection(HWND dialog, int combo);
// An index of 0 or less does nothing.
void ComboSelect(HWND dialog, int combo, int index);
// 1-based index of the first item whose text equals the text exactly, 0 for none.
int ComboFindText(HWND dialog, int combo, const char* text);
// Selects that item (nothing is sent when it is already selected); false when none matches.
bool ComboSelectText(HWND dialog, int combo, const char* text);
// Drop-down width = the widest item text in the control's font + 20 pixels.
void ComboFitWidth(HWND dialog, int combo);
