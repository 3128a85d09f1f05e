// The information window and the help document (Win32).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "foundation/file_io.h"
#include "foundation/log/info_window.h"
#include "foundation/log/log_file.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"

WindowHandle gInfoWindow = nullptr;

namespace {

enum : UINT { kShellNoAssociation = 31 };

HINSTANCE Module() { return static_cast<HINSTANCE>(GetModuleInstance()); }

// Modal dialogs run with the floating tool windows disabled; the dialog
// helpers' switch for that is not in this layer yet, so nothing is disabled.
void EnableToolWindowsAroundModal(bool) {}

void CenterOnScreen(HWND dialog) {
  RECT r;
  GetWindowRect(dialog, &r);
  int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EndInfoWindow(HWND dialog) {
  if (dialog == gInfoWindow) {
    DestroyWindow(dialog);
  } else {
    EndDialog(dialog, 0);
  }
}

INT_PTR CALLBACK InfoWindowProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      CenterOnScreen(dialog);
      HBITMAP picture = LoadBitmapA(Module(), MAKEINTRESOURCEA(kInfoBitmap));
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

std::string StringText(uint32_t id) {
  char text[256];
  return LoadResourceString(GetModuleInstance(), id, text, sizeof text) > 0 ? text : "";
}

int AlertWithFileName(uint32_t textId, const char* fileName) {
  char text[512];
  std::snprintf(text, sizeof text, StringText(textId).c_str(), fileName);
  return MessageBoxA(GetActiveWindow(), text, StringText(kErrorCaptionString).c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace

int ShowInfoWindow(bool modeless, WindowHandle owner) {
  if (modeless) {
    if (gInfoWindow) return 0;
    HWND window = CreateDialogParamA(Module(), MAKEINTRESOURCEA(kInfoDialog), static_cast<HWND>(owner),
                                     InfoWindowProc, 0);
    if (window) ShowWindow(window, SW_SHOW);
    gInfoWindow = window;
    return 0;
  }
  EnableToolWindowsAroundModal(false);
  DialogBoxParamA(Module(), MAKEINTRESOURCEA(kInfoDialog), static_cast<HWND>(owner), InfoWindowProc, 0);
  EnableToolWindowsAroundModal(true);
  return 0;
}

void CloseInfoWindow() {
  if (gInfoWindow) DestroyWindow(static_cast<HWND>(gInfoWindow));
  gInfoWindow = nullptr;
}

intptr_t OpenHelpDocument(uint32_t fileNameStringId) {
  std::string fileName = StringText(fileNameStringId);
  char path[kPathSize];
  if (!GetSettingsFolder(path)) path[0] = '\0';
  AppendToPath(path, StringText(kHelpFolderString).c_str());
  AppendToPath(path, "\\");
  AppendToPath(path, fileName.c_str());
  if (!FileExists(path)) return AlertWithFileName(kHelpMissingString, fileName.c_str());
  intptr_t result = reinterpret_cast<intptr_t>(
      ShellExecuteA(static_cast<HWND>(MainDialogWindow()), "open", path, nullptr, nullptr, 0));
  if (result == kShellNoAssociation) return AlertWithFileName(kNoPdfReaderString, fileName.c_str());
  if (result < 33) MessageBeep(0);
  return result;
}
