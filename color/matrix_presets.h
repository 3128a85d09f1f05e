// What the six-colour and the twelve-colour presets share: records of the
// application store holding {u32 1000, i16 values of a matrix}, whole
// corrections of one type and part presets with one type per matrix row
// (source colour or hue sector), their factory install, saving under an asked
// name, applying, importing from another store and the part popup menu.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/dialogs/prompts.h"
#include "foundation/file_io.h"
#include "foundation/record_type.h"

constexpr uint32_t kPresetVersion = 1000;
constexpr int kPresetRowValues = 6;  // one row: red, green, blue, cyan, magenta, yellow

// The record payloads: 76 bytes for the six-colour matrix, 148 for the twelve-colour one.
struct SelectivePresetPayload {
  uint32_t version;
  int16_t values[36];
};
struct ColorMatrixPresetPayload {
  uint32_t version;
  int16_t values[72];
};
static_assert(sizeof(SelectivePresetPayload) == 76 && offsetof(SelectivePresetPayload, values) == 4, "76 bytes");
static_assert(sizeof(ColorMatrixPresetPayload) == 148 && offsetof(ColorMatrixPresetPayload, values) == 4,
              "148 bytes");

// Strings of the presets.
enum : uint32_t {
  kPresetImportString = 411,        // "Importieren..."
  kPresetSaveString = 412,          // "Speichern..."
  kPresetDeleteString = 414,        // "Löschen..."
  kPresetNamePromptString = 720,    // "Name der Farbkorrektur:"
  kCorrectionNameString = 705,      // "Korrektur_"
  kPresetFileTitleString = 409,     // "Voreinstellungsdatei auswählen"
  kPresetFilterNameString = 405,    // "Quillbrook-Voreinstellungen"
  kPresetFilterPatternString = 406, // "*.prf"
  kPresetWarningString = 500,       // "Warnung"
  kPresetReplaceString = 501,       // "Eine Resource mit gleichem Namen ... Ersetzen ?"
};

// Part preset menu commands: 10000 + 1000 x part + n (n = store index from 1, or these two).
constexpr uint32_t kPresetMenuBase = 10000;
constexpr uint32_t kPresetMenuStride = 1000;
constexpr uint32_t kPresetMenuDelete = 998;
constexpr uint32_t kPresetMenuSave = 999;
// The lowest id the part presets' clean-up offers: factory presets stay.
constexpr int32_t kFirstUserPresetId = 128;

struct MatrixPresetFamily {
  RecordType wholeType;             // "P0CM" / "P0cm"
  int partCount;                    // 6 colours / 12 sectors
  int valueCount;                   // 36 / 72
  RecordType (*partType)(int part); // "P1CM".. / "PaCM"..
  uint32_t partStemString;          // default name of part k: string stem + k
  int16_t* (*matrix)();             // the current frame's matrix, or null
};

// A factory part preset; its record id is its row in the table.
struct FactoryPreset {
  uint8_t part;
  uint32_t nameId;
  int16_t values[kPresetRowValues];
};

uint32_t PresetPayloadSize(const MatrixPresetFamily& family);

// Every type without records gets all its rows (decided for all rows before
// anything is written); rows whose name string does not load are left out.
void InstallFactoryPresets(const MatrixPresetFamily& family, const FactoryPreset* rows, int rowCount);

// The whole corrections' names in store order.
std::vector<std::string> CorrectionNames(const MatrixPresetFamily& family);
// The index into names of the first correction equal to the current matrix, or -1.
int MatchingCorrection(const MatrixPresetFamily& family, const std::vector<std::string>& names);
// Saves the current matrix under an asked name; true when a record was stored.
bool SaveCorrection(const MatrixPresetFamily& family, WindowHandle owner);
// Copies the named correction into the current matrix; false when it cannot be read.
bool ApplyCorrection(const MatrixPresetFamily& family, const char* name);
// Asks for a store and copies its whole corrections (a name listed gets its
// new id appended) and its part presets; false when nothing was opened.
bool ImportPresets(const MatrixPresetFamily& family, WindowHandle owner, const std::vector<std::string>& listed);

// The part's popup menu: presets in byte order of their names, checked when
// their row equals the current one; a separator when any exist; delete and save.
std::vector<PromptMenuItem> PartPresetMenu(const MatrixPresetFamily& family, int part);
// Copies row `part` of the n-th preset of the part's type into the current matrix.
bool ApplyPartPreset(const MatrixPresetFamily& family, int part, int n);
// Saves the current row `part` under an asked name (default: the part's stem).
bool SavePartPreset(const MatrixPresetFamily& family, int part, WindowHandle owner);
// Asks for a name (in/out, kNameSize bytes); an existing record of the type
// with that name is deleted after Yes; false on cancel or No.
bool AskPresetName(RecordType type, char* name, WindowHandle owner);

// What a part menu command asks for.
enum class PresetCommand { kNone, kApply, kDelete, kSave };
struct PartPresetCommand {
  PresetCommand action;
  int part;
  int index;  // kApply: the store index from 1
};
PartPresetCommand DecodePartPresetCommand(const MatrixPresetFamily& family, uint32_t command);

// What a correction combo selection asks for (1-based selection of count items).
enum class CorrectionComboAction { kNone, kApply, kImport, kDelete, kSave };
CorrectionComboAction CorrectionComboActionOf(int count, int selection);

// The record clean-up dialog of the frames, reached through a hook the upper
// layer installs; without it nothing happens.
typedef void (*RecordCleanupDialog)(WindowHandle owner, FileHandle store, RecordType type, int32_t minimumId);
void InstallRecordCleanupDialog(RecordCleanupDialog dialog);
void RunPresetCleanup(WindowHandle owner, RecordType type, int32_t minimumId);
