#include <windows.h>

#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "output/dcs_options.h"
#include "state/data_source_state.h"

namespace {

INT_PTR CALLBACK DcsOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      CenterOnParent(dialog, GetParent(dialog));
      DcsOptions options;
      LoadDcsOptions(&options);
      CheckRadioButton(dialog, kDcsOneFileButton, kDcsSeparateFilesButton,
                       options.separateFiles ? kDcsSeparateFilesButton : kDcsOneFileButton);
      ShowWindow(dialog, SW_SHOW);
      UpdateWindow(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        DcsOptions options;
        LoadDcsOptions(&options);
        options.separateFiles = IsDlgButtonChecked(dialog, kDcsSeparateFilesButton) == BST_CHECKED ? 1 : 0;
        SaveDcsOptions(options);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunDcsOptionsDialog(WindowHandle owner) {
  return static_cast<int>(DialogBoxParamA(static_cast<HINSTANCE>(gResModule), MAKEINTRESOURCEA(kDcsOptionsDialog),
                                          static_cast<HWND>(owner), DcsOptionsDialogProc, 0));
}

void InstallDcsOptionsDialog() {
  SaveAsOutputServices services = SaveAsOutput();
  services.runDcsOptions = RunDcsOptionsDialog;
  InstallSaveAsOutputServices(services);
}
