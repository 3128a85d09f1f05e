// The system calls of the device layer and the thumbnail cache: OLE, the
// drive type, a file's time stamp and size, and a mutex named across
// processes. Implemented over Win32 for the product (session/win32) and over
// POSIX for the host checks (session/host).
#pragma once

#include <cstdint>

// OleInitialize(NULL)'s result (>= 0 is a success) and its counterpart.
int32_t PlatformOleInitialize();
void PlatformOleUninitialize();

// Posts WM_COMMAND with the command id (no control, no notification) to the window.
void PostCommandToWindow(void* window, uint16_t command);

// Whether the folder lies on a removable drive (floppy and the like).
bool IsOnRemovableDrive(const char* folder);

// A file's last-write time as the system's 64-bit file time (100 ns since
// 1601), split as the system stores it, and its size in two parts.
struct FileStamp {
  uint32_t timeLow;
  uint32_t timeHigh;
  uint32_t sizeHigh;
  uint32_t sizeLow;
};
bool GetFileStamp(const char* path, FileStamp* stamp);

// A mutex other processes see by its name; null when it cannot be made.
typedef void* NamedMutex;
NamedMutex CreateNamedMutex(const char* name);
// Waits without a time-out.
void WaitNamedMutex(NamedMutex mutex);
void ReleaseNamedMutex(NamedMutex mutex);
void CloseNamedMutex(NamedMutex mutex);

// The process's current folder (ending with "\" on Windows) and the
// temporary folder; false when they cannot be read.
bool GetCurrentFolder(char* folder, uint32_t size);
bool SetCurrentFolder(const char* folder);
bool GetTemporaryFolder(char* folder, uint32_t size);
