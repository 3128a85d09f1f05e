#include "twain/pending_services.h"

#include <cstring>

#include "twain/twain_state.h"

namespace pending {

// Not available yet: no log file is written.
void LogOpen(bool) {}
void WriteLogHeader() {}
void LogClose(bool) {}

// Not available yet: no preview handle is ever allocated.
void DisposeMemHandle(MemHandleRecord*) {}
ModuleRef GetModuleInstance() { return gModuleInstance; }
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

// The frame record's output resolution (i16 at byte 922) and bits per channel (u8 at byte 928).
int16_t FrameOutputResolution(const FrameRecord& frame) {
  int16_t dpi;
  std::memcpy(&dpi, reinterpret_cast<const uint8_t*>(&frame) + 922, sizeof dpi);
  return dpi;
}
uint8_t FrameBitsPerChannel(const FrameRecord& frame) { return reinterpret_cast<const uint8_t*>(&frame)[928]; }

}  // namespace pending
