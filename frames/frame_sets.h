// Frame sets: named sets of frames kept in the application store, one
// record per set: a u16 count, then that many 2080-byte frames in list order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/record_type.h"

constexpr uint32_t kFrameSetCountSize = 2;

enum : uint32_t {
  kFrameSetImportString = 13,      // " Import"
  kFrameSetSaveString = 14,        // " Speichern"
  kFrameSetDeleteString = 415,     // " Löschen..."
  kReplaceAlertCaption = 500,      // "Warnung"
  kReplaceAlertText = 501,         // a resource of that name exists: replace?
  kFrameSetNamePrefixString = 700, // "Rahmen_"
  kImportFramesTitleString = 706,
  kPrefsFilterNameString = 707,
  kPrefsFilterPatternString = 708,
  kFrameSetNamePromptString = 721,
};

// The record of the list's frames.
std::vector<uint8_t> BuildFrameSetRecord();
// The proposed name of a new set: string 700 (or "_") followed by the id.
std::string DefaultFrameSetName(int32_t id);
// The names of the sets of the type in record order.
std::vector<std::string> FrameSetNames(FileHandle store, RecordType type);

// Saves the list's frames as a new set of the current type under a name the
// user gives; a set of the same name is replaced only when the user agrees.
// False when nothing was stored.
bool SaveFrameSetAsPreset();
// Replaces the list with the frames of the set of that name; false, with the
// list as it was, when the set cannot be read or holds no current frame.
bool LoadFrameSetNamed(const char* name);
// Asks for a settings file and imports its sets (ImportFrameSetsFile).
int ImportFrameSets();
// Copies every set of the current type whose first frame is current from the
// store file into the application store under new ids; a name the
// application store already had gets the new id appended. The open device
// store is never imported from. The number of sets imported.
int ImportFrameSetsFile(const char* path);

// What a choice in the frame-set combo does: its last three entries are the
// commands import, delete and save; the entries before them are the sets.
enum class FrameSetComboAction { kNone, kLoad, kImport, kCleanUp, kSave };
// entries and the 1-based selection of the combo.
FrameSetComboAction FrameSetComboActionOf(int entries, int selection);
