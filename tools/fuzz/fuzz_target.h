// Shared by the fuzz targets: the entry libFuzzer calls, and the fuzzed bytes
// as a file for the code that reads files by path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The temporary folder with its separator at the end.
inline std::string FuzzFolder() {
  std::error_code error;
  std::string folder = std::filesystem::temp_directory_path(error).string();
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  return folder;
}

// The bytes written to "<temporary folder>/<name>" (made afresh); its path,
// empty when it could not be written.
inline std::string WriteFuzzFile(const char* name, const uint8_t* data, size_t size) {
  const std::string path = FuzzFolder() + name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (size > 0) file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return file.good() ? path : std::string();
}
