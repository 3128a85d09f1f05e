// Stand-ins for services of the foundation, colour, sharpening and frame
// layers that the source's entry calls but that are built elsewhere. Each
// carries the final name inside namespace pending and does nothing (or
// answers "not available"); callers are re-pointed to the real services when
// those layers arrive, and this file goes away.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_type.h"
#include "twain/platform.h"


namespace pending {

// Settings folder, dialog helpers.
bool GetSettingsFolder(char* buffer);
void SetTooltipsEnabled(bool enabled);

// Record store.
bool RecordStoreDeleteIndexed(FileHandle store, RecordType type, int index);

// Colour correction and colour management.
void ColorSystemLoad();
void ColorSystemUnload();
void InstallSelectiveColorPresets();
void InstallColorMatrixPresets();
void ResetSelectiveColor();
void InitColorMatrix12State();
void FreeCmykConversionTables();

// Sharpening and negatives.
void ClearFilmProfileCache();

// Frames.
bool SaveFrameList();
void DeleteAllFrames();

}  // namespace pending
