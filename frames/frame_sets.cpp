#include "frames/frame_sets.h"

#include <cstdio>
#include <cstring>

#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/file_names.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "frames/frame_list.h"
#include "frames/frame_panel.h"
#include "frames/frame_storage.h"
#include "state/data_source_state.h"

namespace {

std::string LoadText(uint32_t id) {
  char text[256];
  return LoadResourceString(gResModule, id, text, sizeof text) > 0 ? text : "";
}

uint16_t CountOf(const std::vector<uint8_t>& record) {
  uint16_t count = 0;
  std::memcpy(&count, record.data(), sizeof count);
  return count;
}

// A whole record whose size agrees with its count; empty when it cannot be read.
std::vector<uint8_t> ReadFrameSet(FileHandle store, RecordType type, int32_t id) {
  uint32_t size = 0;
  if (!RecordStoreSize(store, type, id, &size) || size < kFrameSetCountSize + kFrameRecordSize) return {};
  std::vector<uint8_t> record(size);
  if (!RecordStoreRead(store, type, id, record.data(), size)) return {};
  if (size != kFrameSetCountSize + CountOf(record) * kFrameRecordSize) return {};
  return record;
}

// A copy: the frames of a set sit at an odd 2-byte offset.
FrameRecord FrameAt(const std::vector<uint8_t>& record, int n) {
  FrameRecord frame;
  std::memcpy(&frame, record.data() + kFrameSetCountSize + n * kFrameRecordSize, sizeof frame);
  return frame;
}

bool IsCurrentFrame(const FrameRecord& frame) { return frame.version == kFrameRecordVersion; }

bool Contains(const std::vector<std::string>& names, const char* name) {
  for (const std::string& known : names)
    if (known == name) return true;
  return false;
}

}  // namespace

std::vector<uint8_t> BuildFrameSetRecord() {
  const uint16_t count = CountFrames();
  std::vector<uint8_t> record(kFrameSetCountSize + count * kFrameRecordSize);
  std::memcpy(record.data(), &count, sizeof count);
  uint8_t* out = record.data() + kFrameSetCountSize;
  for (FrameListNode* node = FrameListHead(); node; node = node->next, out += kFrameRecordSize)
    std::memcpy(out, &node->frame, kFrameRecordSize);
  return record;
}

std::string DefaultFrameSetName(int32_t id) {
  std::string prefix = LoadText(kFrameSetNamePrefixString);
  if (prefix.empty()) prefix = "_";
  char name[kRecordNameSize + 16];
  std::snprintf(name, sizeof name, "%s%d", prefix.c_str(), static_cast<int>(id));
  return name;
}

std::vector<std::string> FrameSetNames(FileHandle store, RecordType type) {
  std::vector<std::string> names;
  const int count = RecordStoreCount(store, type);
  for (int index = 1; index <= count; ++index) {
    char name[kRecordNameSize];
    if (RecordStoreNameByIndex(store, type, index, name)) names.push_back(name);
  }
  return names;
}

bool SaveFrameSetAsPreset() {
  const RecordType type = CurrentFrameSetType();
  const std::vector<uint8_t> record = BuildFrameSetRecord();
  const int32_t id = RecordStoreUniqueId(gAppStore, type);
  char name[kNameSize];
  std::snprintf(name, sizeof name, "%s", DefaultFrameSetName(id).c_str());
  if (!AskName(name, gMainDialog, kFrameSetNamePromptString)) return false;
  name[kRecordNameSize - 1] = '\0';  // as the store keeps it, so that a clash is found

  int32_t oldId = 0;
  const bool clash = RecordStoreFind(gAppStore, type, name, &oldId);
  if (clash && ShowAlert(gResModule, kReplaceAlertCaption, kReplaceAlertText, true, gMainDialog) != kAnswerYes)
    return false;
  // The new set is stored before the old one goes, so a failed write loses nothing.
  if (!RecordStoreAdd(gAppStore, type, id, record.data(), static_cast<uint32_t>(record.size()), name)) return false;
  if (clash) RecordStoreDelete(gAppStore, type, oldId);
  return true;
}

bool LoadFrameSetNamed(const char* name) {
  const RecordType type = CurrentFrameSetType();
  int32_t id = 0;
  if (!RecordStoreFind(gAppStore, type, name, &id)) return false;
  const std::vector<uint8_t> record = ReadFrameSet(gAppStore, type, id);
  if (record.empty()) return false;

  // Every node is allocated before the old list goes, so a shortage keeps it.
  std::vector<FrameListNode*> nodes;
  bool complete = true;
  for (int n = 0; n < CountOf(record) && complete; ++n) {
    const FrameRecord frame = FrameAt(record, n);
    if (!IsCurrentFrame(frame)) continue;
    FrameListNode* node = NewFrameNode(frame);
    complete = node != nullptr;
    if (node) nodes.push_back(node);
  }
  if (!complete || nodes.empty()) {
    for (FrameListNode* node : nodes) FreeBlock(node);
    return false;
  }
  DeleteAllFrames();
  for (FrameListNode* node : nodes) AppendFrameNode(node);
  FixUpLoadedFrames();
  CheckFrameNames();
  ReloadToneToolsForCurrentFrame();
  UpdateFramePanelEnabling();
  RefreshFramePanel();
  return true;
}

int ImportFrameSets() {
  char folder[kPathSize];
  if (!GetPrefsFolder(folder)) std::strcpy(folder, "c:\\");
  const std::string description = LoadText(kPrefsFilterNameString);
  const std::string pattern = LoadText(kPrefsFilterPatternString);
  std::string filter = description + '\0' + pattern + '\0' + '\0';
  char path[kPathSize] = "";
  if (!AskOpenFile(gMainDialog, LoadText(kImportFramesTitleString).c_str(), filter.c_str(), folder, path,
                   sizeof path, nullptr))
    return 0;
  return ImportFrameSetsFile(path);
}

int ImportFrameSetsFile(const char* path) {
  if (IsDeviceStorePath(path)) {
    PlayBeep(0);
    return 0;
  }
  FileHandle source = OpenExistingFile(path);
  if (!source) return 0;
  const RecordType type = CurrentFrameSetType();
  const std::vector<std::string> listed = FrameSetNames(gAppStore, type);
  int imported = 0;
  const int count = RecordStoreCount(source, type);
  for (int index = 1; index <= count; ++index) {
    int32_t sourceId = 0;
    char name[kRecordNameSize];
    if (!RecordStoreIdAtIndex(source, type, index, &sourceId) ||
        !RecordStoreNameById(source, type, sourceId, name))
      continue;
    const std::vector<uint8_t> record = ReadFrameSet(source, type, sourceId);
    if (record.empty() || !IsCurrentFrame(FrameAt(record, 0))) continue;
    const int32_t id = RecordStoreUniqueId(gAppStore, type);
    std::string stored = name;
    if (Contains(listed, name)) stored += std::to_string(id);
    if (RecordStoreAdd(gAppStore, type, id, record.data(), static_cast<uint32_t>(record.size()), stored.c_str()))
      ++imported;
  }
  CloseFile(source);
  return imported;
}

FrameSetComboAction FrameSetComboActionOf(int entries, int selection) {
  if (selection < 1 || selection > entries) return FrameSetComboAction::kNone;
  if (selection == entries) return FrameSetComboAction::kSave;
  if (selection == entries - 1) return FrameSetComboAction::kCleanUp;
  if (selection == entries - 2) return FrameSetComboAction::kImport;
  return FrameSetComboAction::kLoad;
}
