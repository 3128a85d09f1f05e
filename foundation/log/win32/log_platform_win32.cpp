// The facts of the log's header and its alerts, from Win32.
#include <windows.h>

#include <string>

#include "foundation/log/log_platform.h"
#include "foundation/log/version_info.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"

namespace {

LockState PathLockState(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return kPathUnreadable;
  return (attributes & FILE_ATTRIBUTE_READONLY) ? kPathLocked : kPathUnlocked;
}

// Fixed drives and the like whose free space can be read; removable drives
// are left alone so that no empty drive is asked for a disk.
void ListVolumes(std::vector<VolumeFreeSpace>* volumes) {
  char roots[1024];
  DWORD length = GetLogicalDriveStringsA(sizeof roots, roots);
  if (length == 0 || length >= sizeof roots) return;
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  for (const char* root = roots; *root; root += lstrlenA(root) + 1) {
    if (GetDriveTypeA(root) == DRIVE_REMOVABLE) continue;
    ULARGE_INTEGER freeToCaller, total, totalFree;
    if (GetDiskFreeSpaceExA(root, &freeToCaller, &total, &totalFree)) {
      volumes->push_back({root, freeToCaller.QuadPart});
    }
  }
  SetErrorMode(oldMode);
}

void ReadSystemVersion(SystemVersion* system) {
  OSVERSIONINFOEXA extended = {};
  extended.dwOSVersionInfoSize = sizeof extended;
  OSVERSIONINFOA* info = reinterpret_cast<OSVERSIONINFOA*>(&extended);
  if (!GetVersionExA(info)) {
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(info)) return;
  }
  system->known = true;
  system->platform = info->dwPlatformId == VER_PLATFORM_WIN32_NT        ? kPlatformWindowsNT
                     : info->dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? kPlatformWindows9x
                                                                        : kPlatformOther;
  system->major = info->dwMajorVersion;
  system->minor = info->dwMinorVersion;
  system->build = info->dwBuildNumber & 0xFFFF;
  system->servicePack = info->szCSDVersion;
}

}  // namespace

bool GetTemporaryFolder(char* buffer) {
  DWORD length = GetTempPathA(kPathSize, buffer);
  return length > 0 && length < kPathSize;
}

void GatherLogHeaderFacts(LogHeaderFacts* facts) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  facts->time = {now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond};

  char path[kPathSize];
  if (GetModulePath(path)) facts->modulePath = path;
  facts->lockState = PathLockState;
  if (facts->listVolumes) ListVolumes(&facts->volumes);

  char version[kPathSize];
  ReadFileVersion(version);
  facts->versionText = version;
  ReadSystemVersion(&facts->system);

  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof memory;
  if (GlobalMemoryStatusEx(&memory)) facts->physicalMemoryBytes = memory.ullTotalPhys;
}

// File handles of the file interface are the system's own handles.
void FlushLogFile(FileHandle file) { FlushFileBuffers(reinterpret_cast<HANDLE>(file)); }
