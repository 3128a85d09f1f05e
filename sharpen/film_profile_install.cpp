// The built-in film profiles: module resources copied into the application
// store once per version of the profiles, and the saving of edited profiles.
#include <cstring>
#include <string>
#include <utility>

#include "color/matrix_presets.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/log/module_string.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "sharpen/film_profiles.h"
#include "state/data_source_state.h"

namespace {

void (*gReloadFrameProfiles)() = nullptr;

constexpr RecordType kVersionRecordType = TagFromString("vNum");
constexpr int32_t kVersionRecordId = 128;

// The ids of the module's "NgFm" resources: the standard and the linear
// profile, the films, and the monochrome profile.
constexpr uint16_t kBuiltinFilmIds[] = {
    1,   2,   101, 102, 103, 110, 112, 113, 114, 115, 116, 117, 120, 121, 122, 123, 124, 125, 201, 202, 203,
    204, 205, 206, 207, 208, 210, 211, 212, 213, 220, 221, 222, 230, 231, 232, 233, 234, 235, 236, 237, 240,
    241, 301, 302, 303, 304, 305, 311, 312, 313, 314, 321, 322, 323, 324, 325, 326, 327, 328, 329, 330, 331,
    332, 333, 334, 335, 336, 337, 338, 339, 340, 341, 342, 343, 344, 346, 348, 349, 350, 352, 353, 354, 360,
    390, 401, 402, 403, 404, 405, 406, 407, 411, 412, 420, 430, 431, 500, 600, 601, 602, 603, 604, 605, 606,
    607, 608, 609, 610, 611, 612, 700, 701, 702, 703, 800, 801, 802, 900, 920, 940, 2000};
static_assert(sizeof(kBuiltinFilmIds) / sizeof(kBuiltinFilmIds[0]) == 122, "122 built-in profiles");

uint32_t Swap32(const uint8_t* at) {
  return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | at[3];
}

void SwapWordInPlace(uint8_t* at) { std::swap(at[0], at[1]); }

// The list's words from big-endian to the store's order, within size bytes;
// false when the header is not 0 or a curve runs past the end.
bool SwapListToStoreOrder(uint8_t* data, uint32_t size) {
  if (size < kFilmListHeaderSize) return false;
  const uint32_t header = Swap32(data);
  std::memcpy(data, &header, sizeof header);
  if (header != 0) return false;
  SwapWordInPlace(data + kFilmCurveCountOffset);
  int16_t curves;
  std::memcpy(&curves, data + kFilmCurveCountOffset, sizeof curves);
  uint32_t at = kFilmListHeaderSize;
  for (int c = 0; c < curves; ++c) {
    if (at + kFilmCurveHeaderSize > size) return false;
    SwapWordInPlace(data + at);
    int16_t points;
    std::memcpy(&points, data + at, sizeof points);
    at += kFilmCurveHeaderSize;
    const uint32_t words = points > 0 ? 6u * static_cast<uint32_t>(points) : 0u;
    if (at + 2 * words > size) return false;
    for (uint32_t w = 0; w < words; ++w, at += 2) SwapWordInPlace(data + at);
  }
  return true;
}

bool BuiltinFilmName(ModuleHandle module, uint32_t id, char* name) {
  return LoadResourceString(module, kFilmNameStrings + id, name, kRecordNameSize) > 0 ||
         LoadResourceString(module, kFilmNameFallbackStrings + id, name, kRecordNameSize) > 0;
}

bool IsProtected(int32_t id) { return id <= kLastBuiltinFilmId; }

void AlertProtected() {
  ShowAlert(GetModuleInstance(), kWarningCaptionString, kProtectedProfileString, false, nullptr);
}

}  // namespace

uint32_t AppStoreVersion(FileHandle store) {
  uint32_t version = 0;
  if (!RecordStoreRead(store, kVersionRecordType, kVersionRecordId, &version, sizeof(version))) return 0;
  return version;
}

bool CopyBuiltinFilmProfile(ModuleHandle module, const char* type, uint32_t id, RecordType recordType) {
  uint32_t size = 0;
  const void* resource = LoadCustomResource(module, type, id, &size);
  char name[kRecordNameSize] = "";
  int32_t existing = 0;
  uint32_t existingSize = 0;
  if (!resource || !BuiltinFilmName(module, id, name) || RecordStoreFind(gAppStore, recordType, name, &existing) ||
      RecordStoreSize(gAppStore, recordType, static_cast<int32_t>(id), &existingSize))
    return true;
  auto* data = static_cast<uint8_t*>(AllocBlock(size));
  if (!data) return true;
  std::memcpy(data, resource, size);
  if (SwapListToStoreOrder(data, size)) RecordStoreAdd(gAppStore, recordType, static_cast<int32_t>(id), data, size, name);
  FreeBlock(data);
  return true;
}

bool InstallBuiltinFilmProfiles() {
  if (!gAppStore) return false;
  const uint32_t version = AppStoreVersion(gAppStore);
  if (version == 0) {
    RecordStoreDeleteRange(gAppStore, kFilmRecordType, 0, 0);
  } else if (version < static_cast<uint32_t>(kFilmProfilesVersion)) {
    RecordStoreDeleteRange(gAppStore, kFilmRecordType, 0, kLastBuiltinFilmId);
  }
  const uint32_t current = kFilmProfilesVersion;
  RecordStoreDelete(gAppStore, kVersionRecordType, kVersionRecordId);
  RecordStoreAdd(gAppStore, kVersionRecordType, kVersionRecordId, &current, sizeof(current), "");
  if (version >= current) return true;
  for (uint16_t id : kBuiltinFilmIds) CopyBuiltinFilmProfile(GetModuleInstance(), "NgFm", id, kFilmRecordType);
  return true;
}

bool SaveFilmProfile(const FilmPointList* list, int16_t* id, bool overwrite) {
  if (!list || !id || !gAppStore) return false;
  char name[kNameSize] = "";
  uint32_t size = 0;
  int32_t target = 0;
  if (overwrite && RecordStoreSize(gAppStore, kFilmRecordType, *id, &size)) {
    if (IsProtected(*id)) {
      AlertProtected();
      return false;
    }
    RecordStoreNameById(gAppStore, kFilmRecordType, *id, name);
    target = *id;
  } else {
    if (!RecordStoreNameById(gAppStore, kFilmRecordType, *id, name)) std::strcpy(name, "untitled");
    if (!AskName(name, nullptr, kFilmProfileNamePrompt)) return false;
    name[kRecordNameSize - 1] = 0;
    if (RecordStoreFind(gAppStore, kFilmRecordType, name, &target)) {
      const int answer = ShowAlert(GetModuleInstance(), kWarningCaptionString, kReplaceNameString, true, nullptr);
      // A built-in profile is refused whatever the answer.
      if (IsProtected(target)) {
        AlertProtected();
        return false;
      }
      if (answer != kAnswerYes) return false;
    } else {
      target = RecordStoreUniqueIdAbove(gAppStore, kFilmRecordType, kFirstUserFilmId);
    }
  }
  RecordStoreDelete(gAppStore, kFilmRecordType, target);
  *id = static_cast<int16_t>(target);
  return RecordStoreAdd(gAppStore, kFilmRecordType, target, list, FilmPointListSize(list), name);
}

bool ImportFilmProfiles(WindowHandle owner) {
  char folder[kPathSize];
  if (!GetPrefsFolder(folder)) std::strcpy(folder, "c:\\");
  const std::string filter = ModuleString(kPrefsFilterNameString) + '\0' + ModuleString(kPrefsFilterPatternString) +
                             '\0' + '\0';
  char path[kPathSize] = "";
  if (!AskOpenFile(owner, ModuleString(kImportProfilesTitleString).c_str(), filter.c_str(), folder, path, sizeof path,
                   nullptr) ||
      IsDeviceStorePath(path))
    return false;
  FileHandle source = OpenExistingFile(path);
  if (!source) return false;
  ImportFilmProfilesFrom(source);
  CloseFile(source);
  if (gReloadFrameProfiles) gReloadFrameProfiles();
  return true;
}

void InstallFilmProfileReload(void (*reload)()) { gReloadFrameProfiles = reload; }

void DeleteFilmProfiles(WindowHandle owner) { RunPresetCleanup(owner, kFilmRecordType, kFirstUserFilmId); }

int ImportFilmProfilesFrom(FileHandle source) {
  int copied = 0;
  const int count = RecordStoreCount(source, kFilmRecordType);
  for (int index = 1; index <= count; ++index) {
    int32_t id = 0;
    uint32_t size = 0;
    char name[kRecordNameSize];
    if (!RecordStoreIdAtIndex(source, kFilmRecordType, index, &id) ||
        !RecordStoreNameById(source, kFilmRecordType, id, name))
      continue;
    FilmPointList* list = ReadFilmProfile(id, source);
    uint32_t used = 0;
    const bool taken = id >= kFirstUserFilmId && RecordStoreSize(gAppStore, kFilmRecordType, id, &used);
    if (list && !taken && RecordStoreSize(source, kFilmRecordType, id, &size) &&
        RecordStoreAdd(gAppStore, kFilmRecordType, id, list, size, name))
      ++copied;
    FreeFilmPointList(list);
  }
  return copied;
}
