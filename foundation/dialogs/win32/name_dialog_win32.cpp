// The name dialog (197): edit 1108 with the proposed name, the prompt in 1228.
#include <cstring>

#include "foundation/log/caught_exception.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"

namespace {

struct NameEntry {
  const PromptRequest* request;
  HWND foreground;  // the dialog is centred over the window in front when it was asked for
  char name[kNameSize];
};

INT_PTR OnNameDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      auto* entry = reinterpret_cast<NameEntry*>(lParam);
      if (entry->request->textId != 0) SetDlgItemTextA(dialog, kNamePromptText, entry->request->text.c_str());
      SetDlgItemTextA(dialog, kNameEdit, entry->name);
      FocusAndSelect(dialog, kNameEdit, 0, -1);
      CenterOnParent(dialog, entry->foreground);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
      auto* entry = reinterpret_cast<NameEntry*>(GetWindowLongPtrA(dialog, DWLP_USER));
      if (LOWORD(wParam) == IDOK) {
        GetDlgItemTextA(dialog, kNameEdit, entry->name, sizeof entry->name);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback<INT_PTR>("NameDialogProc", FALSE,
                                  [&] { return OnNameDialogMessage(dialog, message, wParam, lParam); });
}

}  // namespace

PromptAnswer RunNameDialog(const PromptRequest& request) {
  NameEntry entry;
  entry.request = &request;
  entry.foreground = GetForegroundWindow();
  std::strncpy(entry.name, request.initial.c_str(), sizeof entry.name - 1);
  entry.name[sizeof entry.name - 1] = '\0';
  PromptAnswer answer;
  INT_PTR result = DialogBoxParamA(DialogModule(), MAKEINTRESOURCEA(kNameDialog), static_cast<HWND>(request.owner),
                                   NameDialogProc, reinterpret_cast<LPARAM>(&entry));
  if (result == 1) {
    answer.result = kAnswerOk;
    answer.value = entry.name;
  }
  return answer;
}
