#include <windows.h>

#include "output/output_checks.h"

namespace {

typedef BOOL(WINAPI* FreeSpaceEx)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

// The extended call where the system has it (bound at each query), else the cluster counts.
bool QueryFreeDiskSpace(const char* root, uint64_t* freeBytes) {
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  auto extended = kernel ? reinterpret_cast<FreeSpaceEx>(
                               reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")))
                         : nullptr;
  if (extended) {
    ULARGE_INTEGER toCaller, total, all;
    if (!extended(root, &toCaller, &total, &all)) return false;
    *freeBytes = toCaller.QuadPart;
    return true;
  }
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return false;
  *freeBytes = static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector * freeClusters;
  return true;
}
