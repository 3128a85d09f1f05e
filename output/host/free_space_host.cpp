#include <sys/statvfs.h>

#include "output/output_checks.h"

bool QueryFreeDiskSpace(const char* root, uint64_t* freeBytes) {
  struct statvfs info;
  if (statvfs(root, &info) != 0) return false;
  *freeBytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
  return true;
}
