// The scan-mode combo 1031 of the palette's general page.
#pragma once

#include <windows.h>

#include <cstdint>

#include "frames/scan_mode.h"

enum : int { kScanModeCombo = 1031 };
enum : uint32_t {
  kScanModeNormalString = 1,      // "Normal"
  kScanModeBatchString = 2,       // "Stapel Modus"
  kScanModeFileString = 41,       // "Normal (Datei)"
  kScanModeBatchFileString = 42,  // "Stapel Modus (Datei)"
};
// Item data of an entry that cannot be chosen.
constexpr int32_t kComboItemUnavailable = 0x10000;

// The four modes, the batch mode unavailable while the host limits the
// number of images; the first item selected.
void FillScanModeCombo(HWND page, bool transferCountLimited);
// The mode the combo shows.
ScanMode ReadScanModeCombo(HWND page);
void SelectScanModeItem(HWND page, ScanMode mode);
