#include "ui/win32/general_page_win32.h"

#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "frames/param_snapshot.h"
#include "frames/win32/scan_mode_combo_win32.h"
#include "state/data_source_state.h"
#include "ui/main_commands.h"

HWND gPaletteGeneralPage = nullptr;

namespace {

constexpr int kScanModeLabel = 1577;
constexpr uint32_t kScanModeLabelString = 80;  // "Arbeitsmodus:"

// The item shown before the last choice: an unavailable item gives way to it.
int gPreviousScanModeItem = 1;

void InitGeneralPage(HWND page) {
  char label[64];
  if (LoadResourceString(GetModuleInstance(), kScanModeLabelString, label, sizeof label) > 0)
    SetDlgItemTextA(page, kScanModeLabel, label);
  FillScanModeCombo(page, MainWindowService().transferCountLimited());
  SelectScanModeItem(page, ScanMode{gBatchOutput, gFileOutputMode});
  gPreviousScanModeItem = ComboSelection(page, kScanModeCombo);
}

void OnScanModeChange(HWND page) {
  const int item = ComboSelection(page, kScanModeCombo);
  if (item < 1) return;
  if (ComboItemData(page, kScanModeCombo, item - 1) & kComboItemUnavailable) {
    ComboSelect(page, kScanModeCombo, gPreviousScanModeItem);
    return;
  }
  SaveParamSnapshot();
  const ScanMode mode = ReadScanModeCombo(page);
  gBatchOutput = mode.batch;
  gFileOutputMode = mode.toFile;
  gPreviousScanModeItem = item;
}

}  // namespace

HWND CreateGeneralPage(HWND parent) {
  gPaletteGeneralPage = CreateDialogParamA(static_cast<HINSTANCE>(GetModuleInstance()),
                                           MAKEINTRESOURCEA(kGeneralPageTemplate), parent, GeneralPageProc, 0);
  return gPaletteGeneralPage;
}

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitGeneralPage(page);
      return TRUE;
    case WM_COMMAND:
      // Nothing changes while a prescan runs.
      if (gUiBusyState != kUiIdle) return TRUE;
      if (HIWORD(wParam) == CBN_SELCHANGE && LOWORD(wParam) == kScanModeCombo) OnScanModeChange(page);
      return TRUE;
    case WM_DESTROY:
      if (gPaletteGeneralPage == page) gPaletteGeneralPage = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}
