#include "color/color_calibration.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "color/calibration_profile_file.h"
#include "color/calibration_tables.h"
#include "color/color_cubes.h"
#include "color/color_management.h"
#include "color/color_matrix.h"
#include "color/mask_region.h"
#include "color/row_corrections.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/file_io.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

MemHandle gCalibrationCube8 = nullptr;
MemHandle gCalibrationCube16 = nullptr;

namespace {

constexpr uint32_t kWarningCaptionString = 500;
constexpr uint32_t kProfileExistsString = 1712;
constexpr uint32_t kSaveTitleString = 1713;
constexpr uint32_t kFilterNameString = 1714;
constexpr uint32_t kFilterPatternString = 1715;
constexpr uint32_t kProposedNameString = 1716;

NameNode* gProfileNames = nullptr;

char* CurrentProfileName() {
  return reinterpret_cast<char*>(DefaultsBytes(gDefaults, kDefaultCalibrationProfileName));
}

std::string StringResource(uint32_t id) {
  char text[256];
  return LoadResourceString(gResModule, id, text, sizeof text) > 0 ? text : "";
}

std::string Extension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? "" : name.substr(dot);
}
std::string WithoutExtension(const std::string& name) { return name.substr(0, name.size() - Extension(name).size()); }
std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
bool EqualsIgnoringCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::vector<std::string> FilesOfSettingsFolder() {
  std::vector<std::string> names;
  char folder[256];
  if (!GetSettingsFolder(folder)) return names;
  ForEachFileInFolder(
      folder, [](const char* name, void* context) { static_cast<std::vector<std::string>*>(context)->emplace_back(name); },
      &names);
  return names;
}

void ResetCalibration() {
  std::memset(gCalibrationSet.matrix, 0, sizeof gCalibrationSet.matrix);
  ResetGreyRowTable(0, 87);
  std::memset(gCalibrationSet.patchValues, 0, sizeof gCalibrationSet.patchValues);
  ResetCalibrationTables(&gCalibrationTables);
}

// The calibration set's tables and the cubes are made at their first use: a
// session that never reads through them takes no blocks for them (the host's
// heap does not give back what a loaded-and-unloaded module once took).
void AllocateCubes() {
  if (!gCalibrationCube8) gCalibrationCube8 = NewCube8();
  if (!gCalibrationCube16) gCalibrationCube16 = NewCube16();
}

void FillCubes() {
  BuildColorMatrixLuts(gCalibrationSet.matrix, &gCalibrationSet, nullptr, nullptr, 0);
  BakeColorMatrixIntoCube(gCalibrationCube8, &gCalibrationSet);
  ResetCube(gCalibrationCube16);
}

void DisposeHandle(MemHandle* handle) {
  if (*handle) DisposeMemHandle(*handle);
  *handle = nullptr;
}

// The whole file into the calibration; on failure the reset form again.
bool LoadFrom(const std::string& path) {
  if (ReadCalibrationProfileFile(path.c_str())) return true;
  ResetCalibration();
  return false;
}

// Keeps the existing file as path + ".bak", replacing an older backup.
bool KeepBackup(const std::string& path) {
  const std::string backup = path + ".bak";
  if (FileExists(backup.c_str()) && !DeleteFileAt(backup.c_str())) return false;
  FileHandle from = OpenFileForReading(path.c_str());
  if (!from) return false;
  uint64_t size = 0;
  std::vector<uint8_t> bytes;
  bool copied = GetFileSize(from, &size) && size < (1u << 30);
  if (copied) {
    bytes.resize(static_cast<size_t>(size));
    copied = size == 0 || ReadBytesAt(from, 0, bytes.data(), static_cast<uint32_t>(size));
  }
  CloseFile(from);
  if (!copied) return false;
  FileHandle to = CreateFileForWriting(backup.c_str());
  if (!to) return false;
  copied = size == 0 || WriteBytesAt(to, 0, bytes.data(), static_cast<uint32_t>(size));
  CloseFile(to);
  return copied;
}

}  // namespace

bool LoadCalibrationProfile() {
  ResetCalibration();
  const std::string name = CurrentProfileName();
  char folder[256];
  if (name.empty() || !GetSettingsFolder(folder)) return false;
  const std::string base = folder + name;
  if (FileExists((base + ".itp").c_str())) return LoadFrom(base + ".itp");
  return LoadFrom(base);
}

void ResetColorCalibration() {
  // A set left from before is released rather than forgotten.
  DisposeHandle(&gCalibrationSet.entries);
  gCalibrationSet.entryCount = 0;
  ClearRegionSlot(&gCalibrationSet.maskRegion, 0);
  ClearRegionSlot(&gRegionMatrixSet.maskRegion, 0);
  LoadCalibrationProfile();
  RebuildCalibrationTables();
}

void FreeColorCalibration() {
  ClearRegionSlot(&gCalibrationSet.maskRegion, 0);
  ClearRegionSlot(&gRegionMatrixSet.maskRegion, 0);
  DisposeHandle(&gCalibrationSet.entries);
  gCalibrationSet.entryCount = 0;
  DisposeHandle(&gCalibrationCube8);
  DisposeHandle(&gCalibrationCube16);
  FreeNameList(&gProfileNames);
}

void RebuildCalibrationTables() {
  if (gCalibrationCube8) FillCubes();
}

MemHandle CalibrationCube8() {
  if (!gCalibrationCube8) {
    AllocateCubes();
    FillCubes();
  }
  return gCalibrationCube8;
}

MemHandle CalibrationCube16() {
  CalibrationCube8();
  return gCalibrationCube16;
}

bool SaveCalibrationProfile() {
  char folder[256];
  if (!GetSettingsFolder(folder)) folder[0] = '\0';
  std::string filter = StringResource(kFilterNameString);
  filter += '\0';
  filter += StringResource(kFilterPatternString);
  filter += '\0';
  filter += '\0';
  char chosen[256];
  std::strncpy(chosen, StringResource(kProposedNameString).c_str(), sizeof chosen - 1);
  chosen[sizeof chosen - 1] = '\0';
  uint16_t nameOffset = 0;
  if (!AskSaveFile(gMainDialog, StringResource(kSaveTitleString).c_str(), filter.c_str(), folder, chosen, sizeof chosen,
                   &nameOffset, nullptr)) {
    return false;
  }
  std::string path = chosen;
  if (Extension(FileNameOf(path)) != ".itp") path += ".itp";
  if (FileExists(path.c_str())) {
    // Owned by the active window: the calibration dialog that saves.
    const int answer = ShowMessageBox(nullptr, StringResource(kWarningCaptionString).c_str(),
                                      StringResource(kProfileExistsString).c_str(),
                                      kBoxOkCancel | kBoxIconExclamation, kWarningCaptionString, kProfileExistsString);
    if (answer != kAnswerOk || !KeepBackup(path)) return false;
  }
  if (!WriteCalibrationProfileFile(path.c_str())) return false;
  const std::string name = WithoutExtension(FileNameOf(path));
  char* current = CurrentProfileName();
  std::memset(current, 0, kDefaultCalibrationProfileName.size);
  std::memcpy(current, name.data(), std::min<size_t>(name.size(), kDefaultCalibrationProfileName.size - 1));
  FreeNameList(&gProfileNames);
  return true;
}

const NameNode* CalibrationProfileNames() {
  if (gProfileNames) return gProfileNames;
  const std::vector<std::string> files = FilesOfSettingsFolder();
  for (const std::string& file : files)
    if (EqualsIgnoringCase(Extension(file), ".itp")) gProfileNames = PushNameNode(gProfileNames, WithoutExtension(file).c_str());
  // Older profiles were saved under this prefix with other extensions, which the list shows.
  for (const std::string& file : files) {
    if (file.size() < 6 || !EqualsIgnoringCase(file.substr(0, 6), "QBprof")) continue;
    const std::string extension = Extension(file);
    const std::string shown = extension == ".itp" ? WithoutExtension(file) : file;
    gProfileNames = PushNameNode(gProfileNames, shown.c_str());
  }
  return gProfileNames;
}

int SelectCalibrationProfileItem() {
  char* current = CurrentProfileName();
  if (!current[0]) return 0;
  int position = 0;
  if (FindNameInList(current, CalibrationProfileNames(), &position)) return position;
  std::memset(current, 0, kDefaultCalibrationProfileName.size);
  return 1;
}
