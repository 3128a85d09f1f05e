// Settings records: whole frames stored by name in the application store
// ("Set1"), offered by the settings combo (1034) of the frame page with the
// commands "Löschen..." and "Speichern" after them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/record_type.h"
#include "records/frame_record.h"

constexpr RecordType kSettingsRecordType = TagFromString("Set1");

enum : uint32_t {
  kSettingsDeleteString = 414,        // "Löschen..."
  kSettingsSaveString = 60,           // "Speichern"
  kSettingsNamePrefixString = 61,     // "Setting_"
  kSettingsNamePromptString = 721,    // "Name der Rahmeneinstellung:"
};

// The record equals the frame apart from what belongs to the frame alone:
// its rectangle, the dword at the name flag and the name. Only whole
// 2080-byte records can match.
bool SettingsRecordMatches(const std::vector<uint8_t>& record, const FrameRecord& frame);
// 1-based position among the names of the first record that matches the frame; 0 for none.
int MatchingSettingsIndex(FileHandle store, const std::vector<std::string>& names, const FrameRecord& frame);

// The proposed name of a new record: string 61 and the number of records + 1.
std::string DefaultSettingsName(FileHandle store);
// Stores the current frame under a name the user gives; a record of the
// same name is replaced only when the user agrees. False when nothing was stored.
bool SaveSettingsRecord();
// Takes the record's settings into the target, which keeps its rectangle,
// name flag and name. Refused (false, target unchanged) unless the record is
// a whole current-version frame. With redraw the tone tools and the panel
// follow the current frame.
bool LoadSettingsRecord(int32_t id, FrameRecord* target, bool redraw);
// Loads the record of that name into the current frame, with redraw.
bool LoadSelectedSettingsRecord(const char* name);

// What a choice in the settings combo does: its last entry saves, the one
// before it opens the clean-up of the records; the entries before them load.
enum class SettingsComboAction { kNone, kLoad, kCleanUp, kSave };
SettingsComboAction SettingsComboActionOf(int entries, int selection);
