// The DCS options: one file holding the four plates, or a master file that
// names four plate files. Kept in the application store; the dialog "DCS-Optionen"
// edits them (from the save-as dialog's "Optionen..." and the job manager).
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/dialogs/prompts.h"
#include "foundation/record_type.h"

#pragma pack(push, 1)
struct DcsOptions {
  uint16_t version;       // always 1
  uint8_t separateFiles;  // 0 "Einzeldatei", 1 "Mehrfachdatei"
  uint8_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(DcsOptions) == 4, "the stored record's four bytes");
static_assert(offsetof(DcsOptions, separateFiles) == 2, "stored layout");

constexpr RecordType kDcsOptionsType = TagFromString("QBOp");
constexpr int32_t kDcsOptionsId = 1;
constexpr const char* kDcsOptionsName = "DCSOptions";

enum : int32_t {
  kDcsOptionsDialog = 433,
  kDcsOneFileButton = 1475,
  kDcsSeparateFilesButton = 1476,
};

// The defaults (version 1, one file) unless the stored record is at least 4 bytes with version 1.
void LoadDcsOptions(DcsOptions* options);
bool SaveDcsOptions(const DcsOptions& options);

// The modal dialog "DCS-Optionen"; 1 when it ran (OK or Abbrechen). Windows builds only.
int RunDcsOptionsDialog(WindowHandle owner);
// Hands the dialog to the save-as dialog's "Optionen..." button (nothing where there are no dialogs).
void InstallDcsOptionsDialog();
