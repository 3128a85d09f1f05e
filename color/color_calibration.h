// The IT8 calibration's life: its start-up form, its release, the current
// calibration profile loaded and saved, the profile list of the options
// dialog, and the calibration cubes rebuilt from what was loaded.
// LoadCalibrationProfile is declared in color/color_management.h.
#pragma once

#include <cstdint>

#include "foundation/memory.h"
#include "foundation/name_list.h"

// The calibration's cubes: 8-bit (the calibration profile's cube, else the
// calibration matrix baked into the identity) and 16-bit. Null until first
// asked for (CalibrationCube8, CalibrationCube16) and after the release.
extern MemHandle gCalibrationCube8;
extern MemHandle gCalibrationCube16;
// The cubes, made and filled from the current calibration at the first call
// (null only when memory runs out).
MemHandle CalibrationCube8();
MemHandle CalibrationCube16();

// Start-up form: the calibration set without tables or region (the
// twelve-colour frame set's region dropped too) and the current profile
// loaded; the set's tables and the cubes follow at the cubes' first use.
void ResetColorCalibration();
// Releases the regions, the calibration set's tables, both cubes and the profile list.
void FreeColorCalibration();
// After a load: once the cubes are made, the calibration set's tables from
// the calibration matrix (no mask) and the cubes again (8-bit baked, 16-bit reset).
void RebuildCalibrationTables();

// Asks for a file in the settings folder (the save dialog, then the overwrite
// question; the old file is kept as "<name>.itp.bak") and writes the current
// calibration; on success the file's name becomes the current profile name.
bool SaveCalibrationProfile();

// The profile names of the settings folder, listed once and kept until a save
// or the release of the calibration.
const NameNode* CalibrationProfileNames();
// The 1-based item of the current profile name in that list. A name that is
// not listed is emptied and item 1 chosen; no name chooses nothing (0).
int SelectCalibrationProfileItem();
// Fills the options dialog's combo with the names and selects the current one (Windows only).
void FillCalibrationProfileCombo(void* dialog, int comboId);
