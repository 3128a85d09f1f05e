#include "readers/jpeg/jpeg_temp_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

std::string CreateUniqueTemporaryFile() {
  std::string pattern = TemporaryFolder() + "~QBXXXXXX";
  std::vector<char> path(pattern.begin(), pattern.end());
  path.push_back('\0');
  int fd = mkstemp(path.data());
  if (fd < 0) return std::string();
  close(fd);
  return path.data();
}

