#include "readers/jpeg/jpeg_temp_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  std::string path = folder && *folder ? folder : "/tmp";
  if (path.back() != '/') path += '/';
  return path;
}

std::string CreateUniqueTemporaryFile() {
  std::string pattern = TemporaryFolder() + "~QBXXXXXX";
  std::vector<char> path(pattern.begin(), pattern.end());
  path.push_back('\0');
  int fd = mkstemp(path.data());
  if (fd < 0) return std::string();
  close(fd);
  return path.data();
}

bool GetSourceFileStamp(const char* path, SourceFileStamp* stamp) {
  struct stat info;
  if (stat(path, &info) != 0) return false;
  stamp->size = static_cast<uint64_t>(info.st_size);
  stamp->writeTime = static_cast<uint64_t>(info.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(info.st_mtim.tv_nsec);
  return true;
}
