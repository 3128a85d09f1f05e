#include "frames/win32/source_combos_win32.h"

#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/log/module_string.h"
#include "frames/win32/scan_mode_combo_win32.h"

int OriginalComboIndex(const OriginalState& state) {
  if (state.positionMode) return state.position + 3;
  return state.transparent ? 2 : 1;
}

int PositiveNegativeComboIndex(bool negative, int filmKind) {
  if (!negative) return 1;
  return filmKind > 0 ? 2 + filmKind : 2;
}

int FillOriginalCombo(HWND page, const OriginalChoices& device, const OriginalState& state) {
  ComboClear(page, kOriginalCombo);
  ComboAddText(page, kOriginalCombo, ModuleString(kReflectiveString).c_str());
  ComboAddText(page, kOriginalCombo, ModuleString(kTransparencyString).c_str());
  if (!device.reflective) ComboSetItemData(page, kOriginalCombo, 0, kComboItemUnavailable);
  if (!device.transparency) ComboSetItemData(page, kOriginalCombo, 1, kComboItemUnavailable);
  if (device.positionUnit) {
    if (device.positionCount == 0) ComboAddText(page, kOriginalCombo, ModuleString(kFeederString).c_str());
    for (int16_t place = 0; place < device.positionCount; ++place)
      ComboAddText(page, kOriginalCombo, ModuleString(device.firstPositionString + place).c_str());
  }
  ComboFitWidth(page, kOriginalCombo);
  const int selected = OriginalComboIndex(state);
  ComboSelect(page, kOriginalCombo, selected);
  return selected;
}

void FillPositiveNegativeCombo(HWND page, bool negative, int filmKind) {
  ComboClear(page, kPositiveNegativeCombo);
  ComboAddText(page, kPositiveNegativeCombo, ModuleString(kPositiveString).c_str());
  ComboAddText(page, kPositiveNegativeCombo, ModuleString(kNegativeString).c_str());
  ComboFitWidth(page, kPositiveNegativeCombo);
  ComboSelect(page, kPositiveNegativeCombo, PositiveNegativeComboIndex(negative, filmKind));
}
