#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "session/device_platform.h"

int32_t PlatformOleInitialize() { return 0; }
void PlatformOleUninitialize() {}

// The host build has no windows to post to.
void PostCommandToWindow(void*, uint16_t) {}

bool IsOnRemovableDrive(const char*) { return false; }

// The host takes the product's "\\" as "/", as the foundation's files do.
static std::string HostPath(const char* path) {
  std::string converted = path;
  for (char& c : converted)
    if (c == '\\') c = '/';
  return converted;
}

bool GetFileStamp(const char* path, FileStamp* stamp) {
  struct stat info;
  if (stat(HostPath(path).c_str(), &info) != 0) return false;
  // 100 ns ticks since 1601, as the product's file times count.
  const uint64_t kEpochDifference = 11644473600ull;
  uint64_t ticks = (static_cast<uint64_t>(info.st_mtim.tv_sec) + kEpochDifference) * 10000000ull +
                   static_cast<uint64_t>(info.st_mtim.tv_nsec) / 100;
  stamp->timeLow = static_cast<uint32_t>(ticks);
  stamp->timeHigh = static_cast<uint32_t>(ticks >> 32);
  uint64_t size = static_cast<uint64_t>(info.st_size);
  stamp->sizeHigh = static_cast<uint32_t>(size >> 32);
  stamp->sizeLow = static_cast<uint32_t>(size);
  return true;
}

// A lock file in the temporary folder stands for the named mutex.
struct HostMutex {
  int fd;
};

NamedMutex CreateNamedMutex(const char* name) {
  std::string path = std::string("/tmp/") + name + ".lock";
  int fd = open(path.c_str(), O_RDWR | O_CREAT, 0666);
  if (fd < 0) return nullptr;
  return new HostMutex{fd};
}
void WaitNamedMutex(NamedMutex mutex) {
  if (mutex) flock(static_cast<HostMutex*>(mutex)->fd, LOCK_EX);
}
void ReleaseNamedMutex(NamedMutex mutex) {
  if (mutex) flock(static_cast<HostMutex*>(mutex)->fd, LOCK_UN);
}
void CloseNamedMutex(NamedMutex mutex) {
  if (!mutex) return;
  close(static_cast<HostMutex*>(mutex)->fd);
  delete static_cast<HostMutex*>(mutex);
}

bool GetCurrentFolder(char* folder, uint32_t size) { return getcwd(folder, size) != nullptr; }
bool SetCurrentFolder(const char* folder) { return chdir(HostPath(folder).c_str()) == 0; }
bool GetTemporaryFolder(char* folder, uint32_t size) {
  std::string temp = "/tmp/";
  if (temp.size() >= size) return false;
  std::memcpy(folder, temp.c_str(), temp.size() + 1);
  return true;
}
