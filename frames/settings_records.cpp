#include "frames/settings_records.h"

#include <cstdio>
#include <cstring>

#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/record_store.h"
#include "foundation/log/module_string.h"
#include "frames/frame_panel.h"
#include "frames/frame_sets.h"
#include "frames/frame_storage.h"
#include "state/data_source_state.h"

namespace {

constexpr size_t kRectangleOffset = offsetof(FrameRecord, originX);
constexpr size_t kRectangleSize = 8 * sizeof(uint32_t);
constexpr size_t kNameFlagOffset = offsetof(FrameRecord, hasName);
constexpr size_t kNameOffset = offsetof(FrameRecord, name);
constexpr size_t kFrameNameSize = sizeof(FrameRecord::name);
static_assert(kRectangleOffset == 880 && kNameFlagOffset == 1504 && kNameOffset == 1508, "stored layout");

std::vector<uint8_t> ReadWholeRecord(FileHandle store, int32_t id) {
  uint32_t size = 0;
  if (!RecordStoreSize(store, kSettingsRecordType, id, &size) || size != kFrameRecordSize) return {};
  std::vector<uint8_t> record(size);
  if (!RecordStoreRead(store, kSettingsRecordType, id, record.data(), size)) return {};
  return record;
}

}  // namespace

bool SettingsRecordMatches(const std::vector<uint8_t>& record, const FrameRecord& frame) {
  if (record.size() != kFrameRecordSize) return false;
  std::vector<uint8_t> copy = record;
  const uint8_t* own = reinterpret_cast<const uint8_t*>(&frame);
  std::memcpy(&copy[kRectangleOffset], own + kRectangleOffset, kRectangleSize);
  std::memcpy(&copy[kNameFlagOffset], own + kNameFlagOffset, sizeof(uint32_t));
  std::memcpy(&copy[kNameOffset], own + kNameOffset, kFrameNameSize);
  return std::memcmp(copy.data(), own, kFrameRecordSize) == 0;
}

int MatchingSettingsIndex(FileHandle store, const std::vector<std::string>& names, const FrameRecord& frame) {
  for (size_t i = 0; i < names.size(); ++i) {
    int32_t id = 0;
    if (RecordStoreFind(store, kSettingsRecordType, names[i].c_str(), &id) &&
        SettingsRecordMatches(ReadWholeRecord(store, id), frame))
      return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string DefaultSettingsName(FileHandle store) {
  char name[kRecordNameSize];
  std::snprintf(name, sizeof name, "%s%d", ModuleString(kSettingsNamePrefixString).c_str(),
                RecordStoreCount(store, kSettingsRecordType) + 1);
  return name;
}

bool SaveSettingsRecord() {
  if (!gCurrentFrame) return false;
  char name[kRecordNameSize];
  std::snprintf(name, sizeof name, "%s", DefaultSettingsName(gAppStore).c_str());
  if (!AskName(name, gMainDialog, kSettingsNamePromptString)) return false;
  name[kRecordNameSize - 1] = '\0';  // as the store keeps it, so that a clash is found

  int32_t oldId = 0;
  const bool clash = RecordStoreFind(gAppStore, kSettingsRecordType, name, &oldId);
  if (clash && ShowAlert(gResModule, kReplaceAlertCaption, kReplaceAlertText, true, gMainDialog) != kAnswerYes)
    return false;
  // The new record is stored before the old one goes, so a failed write loses nothing.
  const int32_t id = RecordStoreUniqueId(gAppStore, kSettingsRecordType);
  if (!RecordStoreAdd(gAppStore, kSettingsRecordType, id, gCurrentFrame, kFrameRecordSize, name)) return false;
  if (clash) RecordStoreDelete(gAppStore, kSettingsRecordType, oldId);
  return true;
}

bool LoadSettingsRecord(int32_t id, FrameRecord* target, bool redraw) {
  // A record of another size would be read past its end or only in part.
  std::vector<uint8_t> record = ReadWholeRecord(gAppStore, id);
  if (record.empty()) return false;
  FrameRecord loaded;
  std::memcpy(&loaded, record.data(), kFrameRecordSize);
  if (loaded.version != kFrameRecordVersion) return false;
  std::memcpy(&loaded.originX, &target->originX, kRectangleSize);
  loaded.hasName = target->hasName;
  std::memcpy(loaded.name, target->name, kFrameNameSize);
  *target = loaded;
  FixUpLoadedFrames();
  if (redraw) {
    ReloadToneToolsForCurrentFrame();
    UpdateFramePanelEnabling();
    RefreshFramePanel();
  }
  return true;
}

bool LoadSelectedSettingsRecord(const char* name) {
  int32_t id = 0;
  if (!gCurrentFrame || !RecordStoreFind(gAppStore, kSettingsRecordType, name, &id)) return false;
  return LoadSettingsRecord(id, gCurrentFrame, true);
}

SettingsComboAction SettingsComboActionOf(int entries, int selection) {
  if (selection < 1 || selection > entries) return SettingsComboAction::kNone;
  if (selection == entries) return SettingsComboAction::kSave;
  if (selection == entries - 1) return SettingsComboAction::kCleanUp;
  return SettingsComboAction::kLoad;
}
