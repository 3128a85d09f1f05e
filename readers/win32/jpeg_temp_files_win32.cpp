#include "readers/jpeg/jpeg_temp_files.h"

#include <windows.h>

std::string CreateUniqueTemporaryFile() {
  char path[MAX_PATH];
  std::string folder = TemporaryFolder();
  if (folder.empty() || GetTempFileNameA(folder.c_str(), "~QB", 0, path) == 0) return std::string();
  return path;
}

