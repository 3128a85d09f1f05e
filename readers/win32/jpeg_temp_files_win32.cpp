#include "readers/jpeg/jpeg_temp_files.h"

#include <windows.h>

std::string TemporaryFolder() {
  char folder[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof folder, folder);
  return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string();
}

std::string CreateUniqueTemporaryFile() {
  char path[MAX_PATH];
  std::string folder = TemporaryFolder();
  if (folder.empty() || GetTempFileNameA(folder.c_str(), "~QB", 0, path) == 0) return std::string();
  return path;
}

bool GetSourceFileStamp(const char* path, SourceFileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  stamp->size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp->writeTime = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  return true;
}
