// The log's platform part on the host build: POSIX facts; no version block
// and no volumes.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "foundation/log/log_platform.h"
#include "foundation/log/version_info.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"

namespace {

LockState PathLockState(const char* path) {
  struct stat info;
  if (stat(path, &info) != 0) return kPathUnreadable;
  return (info.st_mode & S_IWUSR) ? kPathUnlocked : kPathLocked;
}

}  // namespace

bool GetTemporaryFolder(char* buffer) {
  const char* folder = std::getenv("TMPDIR");
  if (!folder || !folder[0]) folder = "/tmp";
  int length = std::snprintf(buffer, kPathSize, "%s/", folder);
  return length > 0 && length < kPathSize;
}

void GatherLogHeaderFacts(LogHeaderFacts* facts) {
  std::time_t now = std::time(nullptr);
  std::tm local;
  localtime_r(&now, &local);
  facts->time = {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec};
  char path[kPathSize];
  if (GetModulePath(path)) facts->modulePath = path;
  facts->lockState = PathLockState;
  long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) facts->physicalMemoryBytes = static_cast<uint64_t>(pages) * pageSize;
}

void FlushLogFile(FileHandle) {}

void ReadFileVersion(char* text) { text[0] = '\0'; }
void ReadVersionNumber(char* text) { text[0] = '\0'; }
bool QueryVersionStrings(const void*, const char*, char* description, char* version) {
  description[0] = version[0] = '\0';
  return false;
}
