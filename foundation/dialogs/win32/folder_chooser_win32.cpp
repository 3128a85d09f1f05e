// The folder chooser: the shell's folder browser with our caption, German
// button texts and the start folder selected.
#include <windows.h>
#include <shlobj.h>

#include "foundation/log/caught_exception.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "foundation/system.h"

namespace {

enum : int { kOkTextId = 1201, kCancelTextId = 1202, kNewStylePathText = 14146 };

struct FolderBrowse {
  const PromptRequest* request;
  bool newStyle;
  char okText[64];
  char cancelText[64];
};

bool IsExistingFolder(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int OnFolderBrowseMessage(HWND window, UINT message, LPARAM lParam, LPARAM data) {
  auto* browse = reinterpret_cast<FolderBrowse*>(data);
  if (message == BFFM_INITIALIZED) {
    SetWindowTextA(window, browse->request->title.c_str());
    SetDlgItemTextA(window, IDOK, browse->okText);
    SetDlgItemTextA(window, IDCANCEL, browse->cancelText);
    SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(browse->request->initial.c_str()));
  } else if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = "";
    bool hasPath = SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path) != FALSE;
    if (browse->newStyle) {
      SendMessageA(window, BFFM_ENABLEOK, 0, hasPath && IsExistingFolder(path));
      SetDlgItemTextA(window, kNewStylePathText, path);
    } else {
      SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    }
  }
  return 0;
}

int CALLBACK FolderBrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data) {
  return GuardedCallback<int>("FolderBrowseCallback", 0,
                                  [&] { return OnFolderBrowseMessage(window, message, lParam, data); });
}

}  // namespace

PromptAnswer RunFolderChooser(const PromptRequest& request) {
  FolderBrowse browse;
  browse.request = &request;
  browse.newStyle = DllVersionAtLeast(GetDllVersion("shell32.dll"), 5, 0);
  LoadResourceString(GetModuleInstance(), kOkTextId, browse.okText, sizeof browse.okText);
  LoadResourceString(GetModuleInstance(), kCancelTextId, browse.cancelText, sizeof browse.cancelText);

  char displayName[MAX_PATH];
  BROWSEINFOA info;
  ZeroMemory(&info, sizeof info);
  info.hwndOwner = static_cast<HWND>(request.owner);
  info.pszDisplayName = displayName;
  info.ulFlags = browse.newStyle ? (BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_BROWSEINCLUDEFILES)
                                 : (BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
  info.lpfn = FolderBrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&browse);

  PromptAnswer answer;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return answer;
  char path[MAX_PATH];
  if (SHGetPathFromIDListA(chosen, path)) {
    answer.result = kAnswerOk;
    answer.value = path;
  }
  CoTaskMemFree(chosen);
  return answer;
}
