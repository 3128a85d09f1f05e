// The save-as dialog of image output: the file types with their options
// button (template 1560) and, in batch scanning, the counter the next batch
// starts with (template 1561).
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>
#include <vector>

#include "foundation/log/caught_exception.h"
#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/file_filters.h"
#include "foundation/dialogs/save_as_counter.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "foundation/system.h"

namespace {

constexpr UINT kWarningBeep = MB_ICONEXCLAMATION;

// The state of one save-as dialog.
struct SaveAsState {
  const char* filter;
  BatchCounterSettings* batch;  // null without batch scanning
  std::string typeName;         // of the chosen file type, for the options button
  SaveAsCounter counter;
};

SaveAsState* StateOf(HWND hookDialog) {
  return reinterpret_cast<SaveAsState*>(GetWindowLongPtrA(hookDialog, GWLP_USERDATA));
}

void UpdateOptionsButton(HWND hookDialog, SaveAsState* state, const std::string& typeName) {
  OptionsButtonState button = OptionsButtonFor(typeName);
  if (button != OptionsButtonState::kKeep) {
    EnableItem(hookDialog, kSaveAsOptionsButton, button == OptionsButtonState::kEnabled);
  }
  state->typeName = typeName;
}

void ShowCounter(HWND hookDialog, const SaveAsState& state) {
  SetDlgItemInt(hookDialog, kSaveAsCounterEdit, static_cast<UINT>(CounterShown(state.counter)), FALSE);
}

void StartCounterFromSettings(HWND hookDialog, SaveAsState* state) {
  bool reset = state->batch->resetBeforeEachBatch;
  EnableItem(hookDialog, kSaveAsCounterEdit, !reset);
  StartCounter(&state->counter, reset, state->batch->startCounter);
  ShowCounter(hookDialog, *state);
}

void InitSaveAs(HWND hookDialog, const OPENFILENAMEA& dialog) {
  auto* state = reinterpret_cast<SaveAsState*>(dialog.lCustData);
  SetWindowLongPtrA(hookDialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  std::string extension, typeName;
  if (FilterPairAt(state->filter, static_cast<int>(dialog.nFilterIndex), &extension, &typeName)) {
    ReplacePathExtension(dialog.lpstrFile, dialog.nMaxFile, extension.c_str());
    UpdateOptionsButton(hookDialog, state, typeName);
  }
  if (state->batch) {
    CheckDlgButton(hookDialog, kSaveAsResetCheck, state->batch->resetBeforeEachBatch ? BST_CHECKED : BST_UNCHECKED);
    StartCounterFromSettings(hookDialog, state);
  }
  ClearCorrection(&state->counter.correction, kNoPendingItem);
  SetTimer(hookDialog, kSaveAsTimerId, kSaveAsTimerMs, nullptr);
}

// The file name box of the system's dialog (a combo box or an edit).
HWND FileNameBox(HWND fileDialog) {
  HWND box = GetDlgItem(fileDialog, cmb13);
  return box ? box : GetDlgItem(fileDialog, edt1);
}

void TypeChanged(HWND hookDialog, SaveAsState* state, const OPENFILENAMEA& dialog) {
  std::string extension, typeName;
  if (!FilterPairAt(state->filter, static_cast<int>(dialog.nFilterIndex), &extension, &typeName)) return;
  HWND box = FileNameBox(GetParent(hookDialog));
  char name[MAX_PATH];
  if (box && GetWindowTextA(box, name, sizeof name) > 1 && ReplacePathExtension(name, sizeof name, extension.c_str())) {
    SetWindowTextA(box, name);
  }
  UpdateOptionsButton(hookDialog, state, typeName);
}

void RunOptionsDialog(HWND hookDialog, const SaveAsState& state) {
  const SaveAsOutputServices& output = SaveAsOutput();
  switch (OptionsDialogFor(state.typeName)) {
    case OptionsDialog::kJpeg:
      if (output.runJpegOptions) output.runJpegOptions(hookDialog);
      break;
    case OptionsDialog::kDcs:
      if (output.runDcsOptions) output.runDcsOptions(hookDialog);
      break;
    case OptionsDialog::kNone:
      break;
  }
}

void ResetClicked(HWND hookDialog, SaveAsState* state) {
  state->batch->resetBeforeEachBatch = IsDlgButtonChecked(hookDialog, kSaveAsResetCheck) == BST_CHECKED;
  StartCounterFromSettings(hookDialog, state);
}

void CounterChanged(HWND hookDialog, SaveAsState* state) {
  BOOL isNumber = FALSE;
  int32_t number = static_cast<int32_t>(GetDlgItemInt(hookDialog, kSaveAsCounterEdit, &isNumber, TRUE));
  CounterEdited(&state->counter, isNumber != FALSE, number, GetTickCount());
}

void TimerTick(HWND hookDialog, SaveAsState* state) {
  if (CorrectionDue(state->counter.correction, GetTickCount())) {
    ShowCounter(hookDialog, *state);
    FocusAndSelect(hookDialog, kSaveAsCounterEdit, 0, -1);
    PlayBeep(kWarningBeep);
    ClearCorrection(&state->counter.correction, kSaveAsCounterEdit);
  }
  SetTimer(hookDialog, kSaveAsTimerId, kSaveAsTimerMs, nullptr);
}

UINT_PTR OnSaveImageHookMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitSaveAs(dialog, *reinterpret_cast<const OPENFILENAMEA*>(lParam));
    return TRUE;
  }
  SaveAsState* state = StateOf(dialog);
  if (!state) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
      // The system's dialog may have taken the file name before the hook
      // changed its extension: the shown name is put right once it stands.
      if (notify->hdr.code == CDN_TYPECHANGE || notify->hdr.code == CDN_INITDONE) {
        TypeChanged(dialog, state, *notify->lpOFN);
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kSaveAsOptionsButton && HIWORD(wParam) == BN_CLICKED) {
        RunOptionsDialog(dialog, *state);
      } else if (LOWORD(wParam) == kSaveAsResetCheck && HIWORD(wParam) == BN_CLICKED && state->batch) {
        ResetClicked(dialog, state);
      } else if (LOWORD(wParam) == kSaveAsCounterEdit && HIWORD(wParam) == EN_CHANGE && state->batch) {
        CounterChanged(dialog, state);
      }
      return FALSE;
    case WM_TIMER:
      if (wParam == kSaveAsTimerId) TimerTick(dialog, state);
      return FALSE;
    case WM_DESTROY:
      if (state->batch) state->batch->startCounter = state->counter.working;
      KillTimer(dialog, kSaveAsTimerId);
      SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

UINT_PTR CALLBACK SaveImageHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback<UINT_PTR>("SaveImageHookProc", FALSE,
                                  [&] { return OnSaveImageHookMessage(dialog, message, wParam, lParam); });
}

}  // namespace

PromptAnswer RunSaveImageDialog(const PromptRequest& request) {
  std::vector<char> path(request.capacity > request.initial.size() ? request.capacity : request.initial.size() + 1);
  std::copy(request.initial.begin(), request.initial.end(), path.begin());
  const SaveAsOutputServices& output = SaveAsOutput();
  SaveAsState state;
  state.filter = request.filter.c_str();
  state.batch = output.batch && output.batch->batchScan ? output.batch : nullptr;

  OPENFILENAMEA dialog;
  ZeroMemory(&dialog, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(request.owner);
  dialog.hInstance = DialogModule();
  dialog.lpstrFilter = request.filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = request.folder.empty() ? nullptr : request.folder.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE |
                 OFN_LONGNAMES | (state.batch ? 0 : OFN_OVERWRITEPROMPT);
  dialog.lpTemplateName = MAKEINTRESOURCEA(state.batch ? kSaveImageBatchTemplate : kSaveImageTemplate);
  dialog.lpfnHook = SaveImageHookProc;
  dialog.lCustData = reinterpret_cast<LPARAM>(&state);

  PromptAnswer answer;
  answer.filterIndex = request.filterIndex;
  if (GetSaveFileNameA(&dialog)) {
    answer.result = kAnswerOk;
    answer.value = path.data();
    answer.filterIndex = static_cast<int>(dialog.nFilterIndex);
  }
  return answer;
}
