// The source combos of the palette's general page (368): the original and
// positive or negative. The device's choices come from the caller, which
// knows the device.
#pragma once

#include <windows.h>

#include <cstdint>

enum : int { kOriginalCombo = 1030, kPositiveNegativeCombo = 1032, kFilmFormatCombo = 1034 };
enum : uint32_t {
  kReflectiveString = 4,    // "Aufsicht"
  kTransparencyString = 5,  // "Durchsicht"
  kFeederString = 6,        // "Dokumenteneinzug"
  kPositiveString = 50,     // "Positiv"
  kNegativeString = 51,     // "Negativ"
};

struct OriginalChoices {
  bool reflective = true;     // the device takes reflective originals
  bool transparency = false;  // it has a transparency unit
  bool positionUnit = false;  // it has a positioning unit: its places follow
  int16_t positionCount = 0;  // the unit's places; 0: a document feeder
  uint32_t firstPositionString = 0;
};

struct OriginalState {
  bool transparent = false;
  bool positionMode = false;  // the positioning unit is in use
  int16_t position = 0;
};

// 1-based: a place of the positioning unit is position + 3, else 2 for a
// transparent original, 1 otherwise.
int OriginalComboIndex(const OriginalState& state);
// 1-based: 2 for a negative (2 + the film kind above 0), else 1.
int PositiveNegativeComboIndex(bool negative, int filmKind);

// "Aufsicht" and "Durchsicht" (each unavailable without that kind of
// original), then the places of a positioning unit; the current original
// selected; the selected item is returned.
int FillOriginalCombo(HWND page, const OriginalChoices& device, const OriginalState& state);
void FillPositiveNegativeCombo(HWND page, bool negative, int filmKind);
