// The frame-set combo of the frame panel: the sets of the current type, then
// the commands import, delete and save.
#pragma once

#include <windows.h>

enum : int { kFrameSetCombo = 1042 };

// The set names in record order, then " Import", " Löschen..." and
// " Speichern"; the drop-down fitted to the widest entry; nothing selected.
void FillFrameSetCombo(HWND dialog, int combo);
// Carries out the entry chosen in the combo: loads a set, or runs the
// import, the clean-up of the sets or the saving of the current frames and
// fills the combo again.
void OnFrameSetComboChange(HWND dialog, int combo);
// Loads the set of the combo's 1-based entry.
bool LoadFrameSet(HWND dialog, int combo, int selection);
