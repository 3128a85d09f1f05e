#include <windows.h>

#include "color/color_calibration.h"
#include "foundation/dialogs/win32/combo_win32.h"

void FillCalibrationProfileCombo(void* dialog, int comboId) {
  HWND window = static_cast<HWND>(dialog);
  ComboClear(window, comboId);
  for (const NameNode* node = CalibrationProfileNames(); node; node = node->next) ComboAddText(window, comboId, node->text);
  ComboFitWidth(window, comboId);
  ComboSelect(window, comboId, SelectCalibrationProfileItem());
}
