// The Windows parts of the profile services: the CMYK choice combo and the
// places a monitor profile is named.
#include <windows.h>

#include <cstring>

#include "color/profile_files.h"

bool HostMonitorProfilePath(char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Adobe\\Color\\Monitor\\Monitor0", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0;
  DWORD size = 256;
  const bool read =
      RegQueryValueExA(key, "Monitor Profile", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) == ERROR_SUCCESS &&
      type == REG_SZ && size > 0;
  RegCloseKey(key);
  // A value stored without its terminator, or filling all 256 bytes, ends inside them.
  if (read) path[size < 256 ? size : 255] = '\0';
  return read && path[0] != '\0';
}

bool DisplayProfilePath(void* window, char* path) {
  HDC dc = GetDC(static_cast<HWND>(window));
  if (!dc) return false;
  DWORD size = 256;
  const bool found = GetICMProfileA(dc, &size, path) != FALSE;
  ReleaseDC(static_cast<HWND>(window), dc);
  return found;
}

void FillProfileCombo(void* dialog, int comboId) {
  HWND combo = GetDlgItem(static_cast<HWND>(dialog), comboId);
  if (!combo) return;
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  HDC dc = GetDC(combo);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0));
  HGDIOBJ previous = dc && font ? SelectObject(dc, font) : nullptr;
  LONG widest = 0;
  for (const ProfileComboEntry& entry : ProfileComboEntries()) {
    const LRESULT index =
        SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.text.c_str()));
    if (index >= 0) SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), entry.data);
    SIZE extent;
    if (dc && GetTextExtentPoint32A(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &extent)) {
      if (extent.cx > widest) widest = extent.cx;
    }
  }
  if (previous) SelectObject(dc, previous);
  if (dc) ReleaseDC(combo, dc);
  const LONG margin = 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + margin), 0);
}
