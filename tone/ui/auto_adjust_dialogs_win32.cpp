#include "tone/ui/auto_adjust_dialogs_win32.h"

#include <commctrl.h>

#include <cstring>

#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/dialog_services.h"
#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "foundation/record_store.h"
#include "foundation/system.h"
#include "state/data_source_state.h"
#include "tone/subjects.h"
#include "tone/ui/tool_dialog_frame_win32.h"
#include "tone/ui/tool_dialog_hooks_win32.h"

namespace {

// Dialog 1554.
constexpr uint16_t kSubjectDialog = 1554;
constexpr int kSubjectCombo = 1422;
constexpr int kResetButton = 1417;
constexpr int kSaveButton = 1428;
constexpr int kDeleteButton = 1429;
// Per value (contrast, brightness, upperContrast, lowerContrast): slider, field, enable box.
constexpr int kSliders[4] = {1418, 1419, 1420, 1421};
constexpr int kFields[4] = {1432, 1433, 1434, 1435};
constexpr int kEnableBoxes[4] = {1423, 1424, 1425, 1427};
constexpr int kCastBoxes[3] = {1426, 1430, 1431};   // keep cast, in white, in black
constexpr int kIconItems[4] = {1111, 1460, 1461, 1462};
constexpr uint16_t kIconBitmaps[4] = {218, 198, 199, 200};
constexpr int kBrightnessSlider = 1;   // index of the slider that moves in steps of 2
constexpr int kSubjectPositionSlot = 25;
constexpr uint32_t kDefaultSubjectNameString = 5300;   // "Motiv_"
constexpr uint32_t kSubjectNamePromptString = 5301;
constexpr uint32_t kWarningCaptionString = 500;
constexpr uint32_t kReplaceQuestionString = 501;

// Dialog 357.
constexpr uint16_t kOptionsDialog = 357;
constexpr int kSettingsCombo = 1285;
constexpr int kRunBeforeScanBox = 1291;
constexpr int kImageTypeCombo = 1045;

// The subject dialog's state; it exists once.
struct SubjectDialogState {
  SubjectParameters parameters;
  int droppedSelection = 0;   // 1-based, remembered when the list drops down
  HBITMAP icons[4];
  ToolDialogCommon common;
};

SubjectDialogState gSubject;
int16_t gSubjectResult = 0;

int16_t* Values(SubjectParameters& p) { return &p.contrast; }
uint8_t* CastFlags(SubjectParameters& p) { return &p.keepCast; }

int SliderPosition(int i, int16_t value) { return i == kBrightnessSlider ? value / 2 + 50 : value + 50; }
int SliderValue(int i, int position) { return i == kBrightnessSlider ? position * 2 - 100 : position - 50; }

bool Checked(HWND dialog, int item) { return IsDlgButtonChecked(dialog, item) == BST_CHECKED; }

void ShowParameters(HWND dialog) {
  SubjectParameters& p = gSubject.parameters;
  for (int i = 0; i < 4; ++i) {
    SendDlgItemMessageA(dialog, kSliders[i], TBM_SETPOS, TRUE, SliderPosition(i, Values(p)[i]));
    WriteToolEdit(dialog, kFields[i], Values(p)[i], &gSubject.common);
    CheckDlgButton(dialog, kEnableBoxes[i], p.enable[i] ? BST_CHECKED : BST_UNCHECKED);
    EnableItem(dialog, kSliders[i], p.enable[i] != 0);
  }
  for (int i = 0; i < 3; ++i) CheckDlgButton(dialog, kCastBoxes[i], CastFlags(p)[i] ? BST_CHECKED : BST_UNCHECKED);
}

void ReadParameters(HWND dialog) {
  SubjectParameters& p = gSubject.parameters;
  std::memset(&p, 0, sizeof p);
  for (int i = 0; i < 4; ++i) {
    bool translated = false;
    Values(p)[i] = static_cast<int16_t>(GetItemInt(dialog, kFields[i], &translated, true));
    p.enable[i] = Checked(dialog, kEnableBoxes[i]);
  }
  for (int i = 0; i < 3; ++i) CastFlags(p)[i] = Checked(dialog, kCastBoxes[i]);
}

bool Greyed(HWND dialog, int entry) { return (ComboItemData(dialog, kSubjectCombo, entry) & kComboItemGreyed) != 0; }

void UpdateButtons(HWND dialog) {
  const int subject = ComboSelection(dialog, kSubjectCombo) - 1;
  EnableItem(dialog, kSaveButton, subject == kUserDefinedSubject);
  EnableItem(dialog, kDeleteButton, subject >= kBuiltInSubjectCount);
}

// The first usable subject with the current parameters, else "Benutzerdefiniert...".
void SelectMatchingSubject(HWND dialog) {
  int match = kUserDefinedSubject;
  const int count = ComboCount(dialog, kSubjectCombo);
  for (int entry = 0; entry < count; ++entry) {
    if (entry == kUserDefinedSubject || Greyed(dialog, entry)) continue;
    SubjectParameters candidate;
    if (LoadSubjectParameters(static_cast<int16_t>(entry), &candidate) &&
        SubjectParametersEqual(candidate, gSubject.parameters)) {
      match = entry;
      break;
    }
  }
  ComboSelect(dialog, kSubjectCombo, match + 1);
  UpdateButtons(dialog);
}

void SaveSubject(HWND dialog) {
  ReadParameters(dialog);
  int32_t id = 0;
  if (!gAppStore ||
      !RecordStoreFreeId(gAppStore, kSubjectRecordType, &id, kFirstStoredSubjectId, kLastStoredSubjectId + 1))
    return;
  char name[kNameSize] = "";
  LoadResourceString(GetModuleInstance(), kDefaultSubjectNameString, name, sizeof name);
  if (!AskName(name, dialog, kSubjectNamePromptString)) return;
  int32_t existing = 0;
  if (RecordStoreFind(gAppStore, kSubjectRecordType, name, &existing)) {
    if (ShowAlert(GetModuleInstance(), kWarningCaptionString, kReplaceQuestionString, true, dialog) != kAnswerYes)
      return;
    RecordStoreDelete(gAppStore, kSubjectRecordType, existing);
    id = existing;
  }
  RecordStoreAdd(gAppStore, kSubjectRecordType, id, &gSubject.parameters, sizeof gSubject.parameters, name);
  FillSubjectCombo(dialog, kSubjectCombo, true, true, true);
  SelectMatchingSubject(dialog);
}

void DeleteSubject(HWND dialog) {
  const int subject = ComboSelection(dialog, kSubjectCombo) - 1;
  if (subject < kBuiltInSubjectCount) return;
  DeleteStoredSubject(subject + kStoredSubjectIdOffset);
  FillSubjectCombo(dialog, kSubjectCombo, true, true, true);
  SelectMatchingSubject(dialog);
}

void InitSubjectDialog(HWND dialog) {
  gSubject.common = ToolDialogCommon{};
  gSubject.common.positionSlot = kSubjectPositionSlot;
  gSubject.common.hintDialogId = kSubjectDialog;
  for (int i = 0; i < 4; ++i) {
    gSubject.icons[i] = LoadBitmapA(ToolResourceModule(), MAKEINTRESOURCEA(kIconBitmaps[i]));
    SendDlgItemMessageA(dialog, kIconItems[i], STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(gSubject.icons[i]));
    SendDlgItemMessageA(dialog, kSliders[i], TBM_SETRANGE, TRUE, MAKELONG(0, 100));
  }
  FillSubjectCombo(dialog, kSubjectCombo, true, true, true);
  std::memset(&gSubject.parameters, 0, sizeof gSubject.parameters);
  ShowParameters(dialog);
  OpenToolDialogCommon(dialog, &gSubject.common);
  SelectMatchingSubject(dialog);
}

void CloseSubjectDialog(HWND dialog, INT_PTR result) {
  for (HBITMAP& icon : gSubject.icons) {
    if (icon) DeleteObject(icon);
    icon = nullptr;
  }
  CloseToolDialogCommon(dialog, &gSubject.common);
  EndDialog(dialog, result);
}

void OnSubjectCombo(HWND dialog, int notification) {
  if (notification == CBN_DROPDOWN) {
    gSubject.droppedSelection = ComboSelection(dialog, kSubjectCombo);
    return;
  }
  if (notification != CBN_SELCHANGE) return;
  const int entry = ComboSelection(dialog, kSubjectCombo) - 1;
  if (entry < 0) return;
  if (Greyed(dialog, entry)) {
    ComboSelect(dialog, kSubjectCombo, gSubject.droppedSelection);
  } else if (entry != kUserDefinedSubject) {
    LoadSubjectParameters(static_cast<int16_t>(entry), &gSubject.parameters);
    ShowParameters(dialog);
  }
  UpdateButtons(dialog);
}

void OnSlider(HWND dialog, HWND slider) {
  for (int i = 0; i < 4; ++i) {
    if (GetDlgItem(dialog, kSliders[i]) != slider) continue;
    const int position = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    WriteToolEdit(dialog, kFields[i], SliderValue(i, position), &gSubject.common);
  }
  ReadParameters(dialog);
  SelectMatchingSubject(dialog);
}

bool IsBox(int item) {
  for (int box : kEnableBoxes)
    if (box == item) return true;
  for (int box : kCastBoxes)
    if (box == item) return true;
  return false;
}

INT_PTR CALLBACK SubjectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR handled = FALSE;
  if (message != WM_INITDIALOG &&
      HandleToolDialogMessage(dialog, message, wParam, lParam, &gSubject.common, &handled))
    return handled;
  switch (message) {
    case WM_INITDIALOG:
      InitSubjectDialog(dialog);
      return TRUE;
    case WM_HSCROLL:
      OnSlider(dialog, reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_COMMAND: {
      const int item = LOWORD(wParam);
      if (item == kSubjectCombo) {
        OnSubjectCombo(dialog, HIWORD(wParam));
      } else if (IsBox(item) && HIWORD(wParam) == BN_CLICKED) {
        ReadParameters(dialog);
        ShowParameters(dialog);
        SelectMatchingSubject(dialog);
      } else if (item == kResetButton) {
        std::memset(&gSubject.parameters, 0, sizeof gSubject.parameters);
        ShowParameters(dialog);
        SelectMatchingSubject(dialog);
      } else if (item == kSaveButton) {
        SaveSubject(dialog);
      } else if (item == kDeleteButton) {
        DeleteSubject(dialog);
      } else if (item == IDOK) {
        ReadParameters(dialog);
        gSubjectResult = static_cast<int16_t>(ComboSelection(dialog, kSubjectCombo) - 1);
        CloseSubjectDialog(dialog, 1);
      } else if (item == IDCANCEL) {
        CloseSubjectDialog(dialog, 0);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// Dialog 357's working copy of the choices.
struct OptionsDialogState {
  FrameRecord frame;
  uint8_t runBeforeScan;
  uint8_t imageType;
};

void FillImageTypes(HWND dialog) {
  ComboClear(dialog, kImageTypeCombo);
  for (int i = 0; i < kUserDefinedSubject; ++i) ComboInsertStringId(dialog, kImageTypeCombo, -1, kSubjectNameStrings[i]);
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<OptionsDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<OptionsDialogState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      ToolDialogServices().fillSettingsCombo(dialog, kSettingsCombo);
      ComboSelect(dialog, kSettingsCombo, 1);
      CheckDlgButton(dialog, kRunBeforeScanBox, state->runBeforeScan ? BST_CHECKED : BST_UNCHECKED);
      FillImageTypes(dialog);
      ComboSelect(dialog, kImageTypeCombo, state->imageType + 1);
      CenterOnParent(dialog, GetWindow(dialog, GW_OWNER));
      return TRUE;
    case WM_COMMAND: {
      const int item = LOWORD(wParam);
      if (item == kSettingsCombo && HIWORD(wParam) == CBN_SELCHANGE) {
        const int entry = ComboSelection(dialog, kSettingsCombo);
        if (entry <= 1 || !ToolDialogServices().loadSettings(dialog, kSettingsCombo, entry, &state->frame))
          ToolDialogServices().initFrameRecord(&state->frame, false);
      } else if (item == kImageTypeCombo && HIWORD(wParam) == CBN_SELCHANGE) {
        state->imageType = static_cast<uint8_t>(ComboSelection(dialog, kImageTypeCombo) - 1);
      } else if (item == kRunBeforeScanBox && HIWORD(wParam) == BN_CLICKED) {
        state->runBeforeScan = Checked(dialog, kRunBeforeScanBox);
      } else if (item == IDOK || item == IDCANCEL) {
        EndDialog(dialog, item == IDOK);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

HWND ToolOwner() {
  const ToolDialogHooks& hooks = ToolDialogServices();
  return hooks.framePage ? hooks.framePage() : static_cast<HWND>(gMainDialog);
}

}  // namespace

void FillSubjectCombo(HWND dialog, int combo, bool enableBuiltIns, bool enableUserDefined, bool addStored) {
  ComboClear(dialog, combo);
  for (int i = 0; i < kBuiltInSubjectCount; ++i) {
    ComboInsertStringId(dialog, combo, -1, kSubjectNameStrings[i]);
    const bool enabled = i == kUserDefinedSubject ? enableUserDefined : enableBuiltIns;
    ComboSetItemData(dialog, combo, i, enabled ? 0 : kComboItemGreyed);
  }
  if (!addStored || !gAppStore) return;
  for (int32_t id = kFirstStoredSubjectId; id <= kLastStoredSubjectId; ++id) {
    char name[kRecordNameSize];
    if (!RecordStoreNameById(gAppStore, kSubjectRecordType, id, name)) break;
    ComboAddText(dialog, combo, name);
  }
}

int16_t RunAutoAdjustDialog() {
  // Cancel and a refusal leave the previous result.
  RunToolDialog(kSubjectDialog, ToolOwner(), SubjectDialogProc, 0);
  return gSubjectResult;
}

bool RunAutoOptionsDialog(FrameRecord* out, uint8_t* runBeforeScan, uint8_t* imageType) {
  const ToolDialogHooks& hooks = ToolDialogServices();
  const bool openedStore = !gDeviceStore && hooks.openDeviceStore() != nullptr;
  OptionsDialogState state;
  std::memset(&state.frame, 0, sizeof state.frame);
  hooks.initFrameRecord(&state.frame, false);
  state.runBeforeScan = 1;
  state.imageType = 0;
  EnableToolWindowsForModal(false);
  const INT_PTR result = DialogBoxParamA(ToolResourceModule(), MAKEINTRESOURCEA(kOptionsDialog),
                                         static_cast<HWND>(gMainDialog), OptionsDialogProc,
                                         reinterpret_cast<LPARAM>(&state));
  EnableToolWindowsForModal(true);
  if (openedStore) {
    CloseFile(gDeviceStore);
    gDeviceStore = nullptr;
  }
  if (result != 1) return false;
  std::memcpy(out, &state.frame, sizeof state.frame);
  *runBeforeScan = state.runBeforeScan;
  *imageType = state.imageType;
  return true;
}
