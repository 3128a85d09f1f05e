#include "twain/pending_services.h"

#include "twain/twain_state.h"

namespace pending {

// Not available yet: no settings folder.
bool GetSettingsFolder(char*) { return false; }
// Not available yet: no tooltips.
void SetTooltipsEnabled(bool) {}

// Not available yet: no store is open.
bool RecordStoreDeleteIndexed(FileHandle, RecordType, int) { return false; }

// Not available yet: no colour management, no colour tools.
void ColorSystemLoad() {}
void ColorSystemUnload() {}
void InstallSelectiveColorPresets() {}
void InstallColorMatrixPresets() {}
void ResetSelectiveColor() {}
void InitColorMatrix12State() {}
void FreeCmykConversionTables() {}

// Not available yet: no film profiles.
void ClearFilmProfileCache() {}

// Not available yet: no frames.
bool SaveFrameList() { return true; }
void DeleteAllFrames() {}

}  // namespace pending
