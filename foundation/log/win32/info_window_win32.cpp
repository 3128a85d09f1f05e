// The information window and the help document (Win32).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "foundation/log/caught_exception.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "foundation/file_io.h"
#include "foundation/log/info_window.h"
#include "foundation/log/log_file.h"
#include "foundation/log/module_string.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"

WindowHandle gInfoWindow = nullptr;

namespace {

enum : UINT { kShellNoAssociation = 31 };

void EndInfoWindow(HWND dialog) {
  if (dialog == gInfoWindow) {
    DestroyWindow(dialog);
  } else {
    EndDialog(dialog, 0);
  }
}

INT_PTR OnInfoWindowMessage(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      CenterOnScreen(dialog);
      HBITMAP picture = LoadBitmapA(DialogModule(), MAKEINTRESOURCEA(kInfoBitmap));
      HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
          SendDlgItemMessageA(dialog, kInfoPictureItem, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
      if (previous && previous != picture) DeleteObject(previous);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      EndInfoWindow(dialog);
      return TRUE;
    case WM_DESTROY: {
      HGDIOBJ picture = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(dialog, kInfoPictureItem, STM_GETIMAGE,
                                                                      IMAGE_BITMAP, 0));
      if (picture) DeleteObject(picture);
      if (dialog == gInfoWindow) gInfoWindow = nullptr;
      return TRUE;
    }
  }
  return FALSE;
}

INT_PTR CALLBACK InfoWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback<INT_PTR>("InfoWindowProc", FALSE,
                                  [&] { return OnInfoWindowMessage(dialog, message, wParam, lParam); });
}

int AlertWithFileName(uint32_t textId, const char* fileName) {
  char text[512];
  std::snprintf(text, sizeof text, ModuleString(textId).c_str(), fileName);
  return ShowAlertText(GetModuleInstance(), kErrorCaptionString, text);
}

}  // namespace

int ShowInfoWindow(bool modeless, WindowHandle owner) {
  if (modeless) {
    if (gInfoWindow) return 0;
    HWND window = CreateDialogParamA(DialogModule(), MAKEINTRESOURCEA(kInfoDialog), static_cast<HWND>(owner),
                                     InfoWindowProc, 0);
    if (window) ShowWindow(window, SW_SHOW);
    gInfoWindow = window;
    return 0;
  }
  EnableToolWindowsForModal(false);
  DialogBoxParamA(DialogModule(), MAKEINTRESOURCEA(kInfoDialog), static_cast<HWND>(owner), InfoWindowProc, 0);
  EnableToolWindowsForModal(true);
  return 0;
}

void CloseInfoWindow() {
  if (gInfoWindow) DestroyWindow(static_cast<HWND>(gInfoWindow));
  gInfoWindow = nullptr;
}

intptr_t OpenHelpDocument(uint32_t fileNameStringId) {
  std::string fileName = ModuleString(fileNameStringId);
  char path[kPathSize];
  if (!GetSettingsFolder(path)) path[0] = '\0';
  AppendToPath(path, ModuleString(kHelpFolderString).c_str());
  AppendToPath(path, "\\");
  AppendToPath(path, fileName.c_str());
  if (!FileExists(path)) return AlertWithFileName(kHelpMissingString, fileName.c_str());
  intptr_t result = reinterpret_cast<intptr_t>(
      ShellExecuteA(static_cast<HWND>(MainDialogWindow()), "open", path, nullptr, nullptr, 0));
  if (result == kShellNoAssociation) return AlertWithFileName(kNoPdfReaderString, fileName.c_str());
  if (result < 33) MessageBeep(0);
  return result;
}
