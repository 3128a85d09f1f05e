// Reads the version block of the data source's own module (version.dll).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/log/version_info.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"

namespace {

const char kModuleLanguage[] = "040704b0";

bool QueryValue(const void* block, const char* language, const char* name, char* out) {
  char key[128];
  std::snprintf(key, sizeof key, "\\StringFileInfo\\%s\\%s", language, name);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block, key, &value, &length) || !value) return false;
  std::snprintf(out, kPathSize, "%s", static_cast<const char*>(value));
  return true;
}

// Both texts of the module; false (and empty texts) when the block or a value is missing.
bool ReadModuleVersion(char* description, char* version) {
  description[0] = version[0] = '\0';
  char path[kPathSize];
  if (!GetModulePath(path)) return false;
  DWORD unused = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &unused);
  if (size == 0) return false;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return false;
  if (QueryVersionStrings(block.data(), kModuleLanguage, description, version)) return true;
  description[0] = version[0] = '\0';
  return false;
}

}  // namespace

bool QueryVersionStrings(const void* versionBlock, const char* language, char* description, char* version) {
  return QueryValue(versionBlock, language, "FileDescription", description) &&
         QueryValue(versionBlock, language, "FileVersion", version);
}

void ReadFileVersion(char* text) {
  char description[kPathSize], version[kPathSize];
  text[0] = '\0';
  if (ReadModuleVersion(description, version)) std::snprintf(text, kPathSize, "%s v%s", description, version);
}

void ReadVersionNumber(char* text) {
  char description[kPathSize];
  ReadModuleVersion(description, text);
}
