#include <windows.h>
#include <ole2.h>

#include <cstring>

#include "session/device_platform.h"

int32_t PlatformOleInitialize() { return OleInitialize(nullptr); }
void PlatformOleUninitialize() { OleUninitialize(); }

void PostCommandToWindow(void* window, uint16_t command) {
  PostMessageA(static_cast<HWND>(window), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool IsOnRemovableDrive(const char* folder) {
  // The root of a drive path ("A:\"); other paths ask about the current drive.
  char root[4] = {};
  if (folder && folder[0] && folder[1] == ':') {
    root[0] = folder[0];
    root[1] = ':';
    root[2] = '\\';
    return GetDriveTypeA(root) == DRIVE_REMOVABLE;
  }
  return GetDriveTypeA(nullptr) == DRIVE_REMOVABLE;
}

bool GetFileStamp(const char* path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  stamp->timeLow = data.ftLastWriteTime.dwLowDateTime;
  stamp->timeHigh = data.ftLastWriteTime.dwHighDateTime;
  stamp->sizeHigh = data.nFileSizeHigh;
  stamp->sizeLow = data.nFileSizeLow;
  return true;
}

NamedMutex CreateNamedMutex(const char* name) { return CreateMutexA(nullptr, FALSE, name); }
void WaitNamedMutex(NamedMutex mutex) {
  if (mutex) WaitForSingleObject(mutex, INFINITE);
}
void ReleaseNamedMutex(NamedMutex mutex) {
  if (mutex) ReleaseMutex(mutex);
}
void CloseNamedMutex(NamedMutex mutex) {
  if (mutex) CloseHandle(mutex);
}

bool GetCurrentFolder(char* folder, uint32_t size) {
  DWORD length = GetCurrentDirectoryA(size, folder);
  return length > 0 && length < size;
}
bool SetCurrentFolder(const char* folder) { return SetCurrentDirectoryA(folder) != FALSE; }
bool GetTemporaryFolder(char* folder, uint32_t size) {
  DWORD length = GetTempPathA(size, folder);
  return length > 0 && length < size;
}
