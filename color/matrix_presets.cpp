#include "color/matrix_presets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "state/data_source_state.h"

namespace {

RecordCleanupDialog gCleanupDialog = nullptr;

std::string LoadText(uint32_t id) {
  char text[256];
  return LoadResourceString(gResModule, id, text, sizeof text) > 0 ? text : "";
}

std::string TypeText(RecordType type) {
  std::string text(4, ' ');
  for (int i = 0; i < 4; ++i) text[i] = static_cast<char>(type >> (8 * i) & 0xFF);
  return text;
}

// Payload of the family's size, zero-filled; false when the record is missing or larger.
bool ReadPayload(FileHandle store, RecordType type, int index, const MatrixPresetFamily& family,
                 ColorMatrixPresetPayload* payload) {
  *payload = ColorMatrixPresetPayload{};
  return RecordStoreReadIndexed(store, type, index, payload, PresetPayloadSize(family));
}

bool ReadPayloadById(RecordType type, int32_t id, const MatrixPresetFamily& family,
                     ColorMatrixPresetPayload* payload) {
  *payload = ColorMatrixPresetPayload{};
  return RecordStoreRead(gAppStore, type, id, payload, PresetPayloadSize(family));
}

bool RowEquals(const int16_t* a, const int16_t* b) {
  return std::equal(a, a + kPresetRowValues, b);
}

}  // namespace

uint32_t PresetPayloadSize(const MatrixPresetFamily& family) {
  return static_cast<uint32_t>(sizeof(uint32_t) + family.valueCount * sizeof(int16_t));
}

void InstallFactoryPresets(const MatrixPresetFamily& family, const FactoryPreset* rows, int rowCount) {
  if (!gAppStore) return;
  std::vector<bool> install(rowCount);
  for (int i = 0; i < rowCount; ++i) install[i] = RecordStoreCount(gAppStore, family.partType(rows[i].part)) == 0;
  for (int i = 0; i < rowCount; ++i) {
    if (!install[i]) continue;
    char name[256];
    if (LoadResourceString(gResModule, rows[i].nameId, name, sizeof name) <= 0) continue;
    ColorMatrixPresetPayload payload = {};
    payload.version = kPresetVersion;
    std::copy(rows[i].values, rows[i].values + kPresetRowValues, payload.values + rows[i].part * kPresetRowValues);
    RecordStoreAdd(gAppStore, family.partType(rows[i].part), i, &payload, PresetPayloadSize(family), name);
  }
}

std::vector<std::string> CorrectionNames(const MatrixPresetFamily& family) {
  std::vector<std::string> names;
  const int count = gAppStore ? RecordStoreCount(gAppStore, family.wholeType) : 0;
  for (int index = 1; index <= count; ++index) {
    char name[kRecordNameSize];
    if (RecordStoreNameByIndex(gAppStore, family.wholeType, index, name)) names.push_back(name);
  }
  return names;
}

int MatchingCorrection(const MatrixPresetFamily& family, const std::vector<std::string>& names) {
  const int16_t* matrix = family.matrix();
  if (!matrix || !gAppStore) return -1;
  for (size_t i = 0; i < names.size(); ++i) {
    int32_t id = 0;
    ColorMatrixPresetPayload payload;
    if (!RecordStoreFind(gAppStore, family.wholeType, names[i].c_str(), &id) ||
        !ReadPayloadById(family.wholeType, id, family, &payload))
      continue;
    if (std::equal(matrix, matrix + family.valueCount, payload.values)) return static_cast<int>(i);
  }
  return -1;
}

bool AskPresetName(RecordType type, char* name, WindowHandle owner) {
  if (!AskName(name, owner, kPresetNamePromptString)) return false;
  int32_t existing = 0;
  if (!RecordStoreFind(gAppStore, type, name, &existing)) return true;
  if (ShowAlert(gResModule, kPresetWarningString, kPresetReplaceString, true, owner) != kAnswerYes) return false;
  RecordStoreDelete(gAppStore, type, existing);
  return true;
}

bool SaveCorrection(const MatrixPresetFamily& family, WindowHandle owner) {
  const int16_t* matrix = family.matrix();
  if (!matrix || !gAppStore) return false;
  ColorMatrixPresetPayload payload = {};
  payload.version = kPresetVersion;
  std::copy(matrix, matrix + family.valueCount, payload.values);
  const int32_t id = RecordStoreUniqueId(gAppStore, family.wholeType);
  std::string prefix = LoadText(kCorrectionNameString);
  if (prefix.empty()) prefix = "_";
  char name[kNameSize];
  std::snprintf(name, sizeof name, "%s%d", prefix.c_str(), static_cast<int>(id));
  if (!AskPresetName(family.wholeType, name, owner)) return false;
  return RecordStoreAdd(gAppStore, family.wholeType, id, &payload, PresetPayloadSize(family), name);
}

bool ApplyCorrection(const MatrixPresetFamily& family, const char* name) {
  int16_t* matrix = family.matrix();
  int32_t id = 0;
  ColorMatrixPresetPayload payload;
  if (!matrix || !gAppStore || !RecordStoreFind(gAppStore, family.wholeType, name, &id) ||
      !ReadPayloadById(family.wholeType, id, family, &payload))
    return false;
  std::copy(payload.values, payload.values + family.valueCount, matrix);
  return true;
}

bool ImportPresets(const MatrixPresetFamily& family, WindowHandle owner, const std::vector<std::string>& listed) {
  if (!gAppStore) return false;
  char folder[kPathSize];
  if (!GetPrefsFolder(folder)) std::strcpy(folder, "c:\\");
  const std::string filter =
      LoadText(kPresetFilterNameString) + '\0' + LoadText(kPresetFilterPatternString) + '\0' + '\0';
  char path[kPathSize] = "";
  if (!AskOpenFile(owner, LoadText(kPresetFileTitleString).c_str(), filter.c_str(), folder, path, sizeof path,
                   nullptr))
    return false;
  if (IsDeviceStorePath(path)) return false;
  FileHandle source = OpenExistingFile(path);
  if (!source) return false;
  const int count = RecordStoreCount(source, family.wholeType);
  for (int index = 1; index <= count; ++index) {
    ColorMatrixPresetPayload payload;
    char name[kRecordNameSize];
    if (!ReadPayload(source, family.wholeType, index, family, &payload) ||
        !RecordStoreNameByIndex(source, family.wholeType, index, name))
      continue;
    const int32_t id = RecordStoreUniqueId(gAppStore, family.wholeType);
    std::string stored = name;
    if (std::find(listed.begin(), listed.end(), stored) != listed.end()) stored += std::to_string(id);
    RecordStoreAdd(gAppStore, family.wholeType, id, &payload, PresetPayloadSize(family), stored.c_str());
  }
  for (int part = 0; part < family.partCount; ++part)
    RecordStoreCopyType(source, gAppStore, TypeText(family.partType(part)).c_str());
  CloseFile(source);
  return true;
}

std::vector<PromptMenuItem> PartPresetMenu(const MatrixPresetFamily& family, int part) {
  std::vector<PromptMenuItem> items;
  const RecordType type = family.partType(part);
  const uint32_t base = kPresetMenuBase + kPresetMenuStride * static_cast<uint32_t>(part);
  const int16_t* matrix = family.matrix();
  const int count = gAppStore ? RecordStoreCount(gAppStore, type) : 0;
  for (int index = 1; index <= count; ++index) {
    PromptMenuItem item;
    char name[kRecordNameSize] = "";
    RecordStoreNameByIndex(gAppStore, type, index, name);
    ColorMatrixPresetPayload payload;
    const int16_t* row = payload.values + part * kPresetRowValues;
    item.text = name;
    item.command = base + static_cast<uint32_t>(index);
    item.checked = matrix && ReadPayload(gAppStore, type, index, family, &payload) &&
                   RowEquals(row, matrix + part * kPresetRowValues);
    const auto later = std::find_if(items.begin(), items.end(), [&](const PromptMenuItem& other) {
      return std::strcmp(other.text.c_str(), name) > 0;
    });
    items.insert(later, item);
  }
  if (count > 0) {
    PromptMenuItem separator;
    separator.separator = true;
    items.push_back(separator);
  }
  PromptMenuItem remove, save;
  remove.text = LoadText(kPresetDeleteString);
  remove.command = base + kPresetMenuDelete;
  save.text = LoadText(kPresetSaveString);
  save.command = base + kPresetMenuSave;
  items.push_back(remove);
  items.push_back(save);
  return items;
}

bool ApplyPartPreset(const MatrixPresetFamily& family, int part, int n) {
  int16_t* matrix = family.matrix();
  ColorMatrixPresetPayload payload;
  if (!matrix || !gAppStore || !ReadPayload(gAppStore, family.partType(part), n, family, &payload)) return false;
  const int16_t* row = payload.values + part * kPresetRowValues;
  std::copy(row, row + kPresetRowValues, matrix + part * kPresetRowValues);
  return true;
}

bool SavePartPreset(const MatrixPresetFamily& family, int part, WindowHandle owner) {
  const int16_t* matrix = family.matrix();
  if (!matrix || !gAppStore) return false;
  const RecordType type = family.partType(part);
  char name[kNameSize];
  std::snprintf(name, sizeof name, "%s", LoadText(family.partStemString + static_cast<uint32_t>(part)).c_str());
  if (!AskPresetName(type, name, owner)) return false;
  ColorMatrixPresetPayload payload = {};
  payload.version = kPresetVersion;
  const int16_t* row = matrix + part * kPresetRowValues;
  std::copy(row, row + kPresetRowValues, payload.values + part * kPresetRowValues);
  return RecordStoreAdd(gAppStore, type, RecordStoreUniqueId(gAppStore, type), &payload, PresetPayloadSize(family),
                        name);
}

PartPresetCommand DecodePartPresetCommand(const MatrixPresetFamily& family, uint32_t command) {
  const uint32_t end = kPresetMenuBase + kPresetMenuStride * static_cast<uint32_t>(family.partCount);
  if (command < kPresetMenuBase || command >= end) return {PresetCommand::kNone, 0, 0};
  const int part = static_cast<int>((command - kPresetMenuBase) / kPresetMenuStride);
  const int n = static_cast<int>((command - kPresetMenuBase) % kPresetMenuStride);
  if (n == static_cast<int>(kPresetMenuSave)) return {PresetCommand::kSave, part, 0};
  if (n == static_cast<int>(kPresetMenuDelete)) return {PresetCommand::kDelete, part, 0};
  if (n == 0) return {PresetCommand::kNone, part, 0};
  return {PresetCommand::kApply, part, n};
}

CorrectionComboAction CorrectionComboActionOf(int count, int selection) {
  if (selection < 1 || selection > count) return CorrectionComboAction::kNone;
  if (selection == count) return CorrectionComboAction::kSave;
  if (selection == count - 1) return CorrectionComboAction::kDelete;
  if (selection == count - 2) return CorrectionComboAction::kImport;
  return CorrectionComboAction::kApply;
}

void InstallRecordCleanupDialog(RecordCleanupDialog dialog) { gCleanupDialog = dialog; }

void RunPresetCleanup(WindowHandle owner, RecordType type, int32_t minimumId) {
  if (gCleanupDialog && gAppStore) gCleanupDialog(owner, gAppStore, type, minimumId);
}
