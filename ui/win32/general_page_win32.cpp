#include "ui/win32/general_page_win32.h"

#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "frames/frame_panel.h"
#include "frames/param_snapshot.h"
#include "frames/win32/frame_page_win32.h"
#include "frames/win32/frame_set_combo_win32.h"
#include "frames/win32/scan_mode_combo_win32.h"
#include "frames/win32/source_combos_win32.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "session/preview_files.h"
#include "state/data_source_state.h"
#include "ui/main_commands.h"
#include "ui/win32/dialog_placement.h"

HWND gPaletteGeneralPage = nullptr;

namespace {

constexpr int kScanModeLabel = 1577;
constexpr uint32_t kScanModeLabelString = 80;  // "Arbeitsmodus:"

constexpr int kFilmFormatLabel = 1389;

// The items shown before the last choice: an unavailable item gives way to them.
int gPreviousScanModeItem = 1;
int gPreviousOriginalItem = 1;

bool NegativeOriginal() { return GetDefault(gDefaults, kDefaultNegativeMode) != 0; }

// An image file has no positioning unit and no film formats: the film-format
// combo and its label leave the page and the gap closes.
void FillSourceCombos(HWND page) {
  FillScanModeCombo(page, MainWindowService().transferCountLimited());
  SelectScanModeItem(page, ScanMode{gBatchOutput, gFileOutputMode});
  gPreviousScanModeItem = ComboSelection(page, kScanModeCombo);
  OriginalChoices device;
  device.reflective = DeviceOffersReflective();
  device.transparency = DeviceHasTransparencyUnit();
  gPreviousOriginalItem = FillOriginalCombo(page, device, OriginalState{gLightSourceFlag != 0, false, 0});
  for (int id : {int{kFilmFormatCombo}, kFilmFormatLabel}) HideByOffscreen(GetDlgItem(page, id), page, false);
  CloseGapAtItem(page, kFilmFormatCombo);
  FillPositiveNegativeCombo(page, NegativeOriginal(), 0);
  FillFrameSetCombo(page, kFrameSetCombo);
}

// The negative flag written; a stored preview that no longer fits the
// original is made again by a prescan.
void ApplyPositiveNegativeChange(bool negative) {
  SaveParamSnapshot();
  SetDefault(gDefaults, kDefaultNegativeMode, static_cast<uint8_t>(negative));
  DeletePreviewAuxFile();
  if (!PreviewFileExists(false)) PostDeviceCommand(kCommandDevicePrescan, true);
  if (gMainDialog) InvalidateRect(static_cast<HWND>(gMainDialog), nullptr, FALSE);
}

// An unavailable item gives way to the one shown before; true when the choice stands.
bool TakeChoice(HWND page, int combo, int* previous) {
  const int item = ComboSelection(page, combo);
  if (item < 1) return false;
  if (ComboItemData(page, combo, item - 1) & kComboItemUnavailable) {
    ComboSelect(page, combo, *previous);
    return false;
  }
  *previous = item;
  return true;
}

void OnPositiveNegativeChange(HWND page) {
  const int item = ComboSelection(page, kPositiveNegativeCombo);
  if ((item == 1) == NegativeOriginal()) ApplyPositiveNegativeChange(item == 2);
}

// The source combos as the state stands: scan mode and positive or negative.
void UpdateGeneralPageEnabling() {
  HWND page = gPaletteGeneralPage;
  if (!page) return;
  SelectScanModeItem(page, ScanMode{gBatchOutput, gFileOutputMode});
  gPreviousScanModeItem = ComboSelection(page, kScanModeCombo);
  ComboSelect(page, kPositiveNegativeCombo, PositiveNegativeComboIndex(NegativeOriginal(), 0));
}

// The frame page's combos that show what the current frame equals.
void RefreshFramePageCombos() {
  if (gPaletteFramePage) FillSettingsComboOfPanel(gPaletteFramePage);
}

void InitGeneralPage(HWND page) {
  char label[64];
  if (LoadResourceString(GetModuleInstance(), kScanModeLabelString, label, sizeof label) > 0)
    SetDlgItemTextA(page, kScanModeLabel, label);
  FillSourceCombos(page);
}

void OnScanModeChange(HWND page) {
  if (!TakeChoice(page, kScanModeCombo, &gPreviousScanModeItem)) return;
  SaveParamSnapshot();
  const ScanMode mode = ReadScanModeCombo(page);
  gBatchOutput = mode.batch;
  gFileOutputMode = mode.toFile;
}

void OnSourceCommand(HWND page, int id) {
  switch (id) {
    case kScanModeCombo: OnScanModeChange(page); break;
    // The image file's one kind of original: nothing else to apply.
    case kOriginalCombo: TakeChoice(page, kOriginalCombo, &gPreviousOriginalItem); break;
    case kPositiveNegativeCombo: OnPositiveNegativeChange(page); return;
    case kFrameSetCombo:
      OnFrameSetComboChange(page, kFrameSetCombo);
      SaveParamSnapshot();
      break;
    default: return;
  }
  RefreshFramePageCombos();
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
      SetGeneralPageEnabling(UpdateGeneralPageEnabling);
      return TRUE;
    case WM_COMMAND:
      // Nothing changes while a prescan runs.
      if (gUiBusyState != kUiIdle) return TRUE;
      if (HIWORD(wParam) == CBN_SELCHANGE) OnSourceCommand(page, LOWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      if (gPaletteGeneralPage == page) {
        gPaletteGeneralPage = nullptr;
        SetGeneralPageEnabling(nullptr);
      }
      return FALSE;
    default:
      return FALSE;
  }
}
