#include "frames/win32/scan_mode_combo_win32.h"

#include <initializer_list>

#include "foundation/dialogs/win32/combo_win32.h"

void FillScanModeCombo(HWND page, bool transferCountLimited) {
  ComboClear(page, kScanModeCombo);
  for (uint32_t id : {kScanModeNormalString, kScanModeBatchString, kScanModeFileString, kScanModeBatchFileString})
    ComboInsertStringId(page, kScanModeCombo, -1, id);
  if (transferCountLimited) ComboSetItemData(page, kScanModeCombo, 1, kComboItemUnavailable);
  ComboSelect(page, kScanModeCombo, 1);
  ComboFitWidth(page, kScanModeCombo);
}

ScanMode ReadScanModeCombo(HWND page) { return ScanModeOfItem(ComboSelection(page, kScanModeCombo)); }

void SelectScanModeItem(HWND page, ScanMode mode) { ComboSelect(page, kScanModeCombo, ScanModeItem(mode)); }
