#include "ui/profile_folder.h"

#include <cstring>
#include <string>

#include "color/separation_tables.h"
#include "foundation/settings_folders.h"

namespace {

constexpr size_t kPathSize = 256;
constexpr char kProfileFolderName[] = "CB Profile\\";

}  // namespace

bool ProfileFolderPath(char* path) {
  char folder[kPathSize] = {};
  if (!GetSettingsFolder(folder)) return false;
  const std::string full = std::string(folder) + kProfileFolderName;
  if (full.size() >= kPathSize) return false;
  std::memcpy(path, full.c_str(), full.size() + 1);
  return true;
}

uint16_t LoadSeparationTableFromFolder(const char* name) {
  char folder[kPathSize] = {};
  if (!ProfileFolderPath(folder)) return kProfileFolderMissing;
  const int16_t allocated = AllocSeparationTables();
  if (allocated != 0) return static_cast<uint16_t>(allocated);
  const std::string path = std::string(folder) + name;
  return static_cast<uint16_t>(LoadSeparationTables(path.c_str()));
}

int16_t ReleaseSeparationTables() {
  FreeSeparationTables();
  return 0;
}
