#include "output/color_settings_snapshot.h"

#include <cstring>

#include "color/cmyk_tables.h"
#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

DefaultsArea ScannerProfileArea(uint8_t lightSource) {
  return lightSource ? kDefaultScannerProfileTransparency : kDefaultScannerProfileReflective;
}

// A defaults text into a buffer of its size, always terminated.
void CopyOut(DefaultsArea area, char* out, uint32_t size) {
  std::memcpy(out, DefaultsBytes(gDefaults, area), size < area.size ? size : area.size);
  out[size - 1] = '\0';
}

void CopyIn(DefaultsArea area, const char* text) {
  uint8_t* bytes = DefaultsBytes(gDefaults, area);
  std::memset(bytes, 0, area.size);
  const size_t length = std::strlen(text);
  std::memcpy(bytes, text, length < area.size ? length : area.size - 1u);
}

bool SameText(DefaultsArea area, const char* text) {
  return std::strncmp(reinterpret_cast<const char*>(DefaultsBytes(gDefaults, area)), text, area.size) == 0;
}

void SetTransformSettings(const ColorSettingsSnapshot& s) {
  SetDefault(gDefaults, kDefaultInputCmsMode, static_cast<int16_t>(s.inputMode));
  SetDefault(gDefaults, kDefaultOutputCmsMode, static_cast<int16_t>(s.outputMode));
  CopyIn(ScannerProfileArea(s.lightSource), s.scannerProfile);
  CopyIn(kDefaultInternalProfile, s.internalProfile);
  CopyIn(kDefaultOutputProfile, s.outputProfile);
}

// Rebuilds the transforms; on failure the three paths are emptied.
void RebuildTransforms(ColorSettingsSnapshot* s) {
  if (RebuildColorTransforms() == 0) return;
  s->scannerProfile[0] = s->internalProfile[0] = s->outputProfile[0] = '\0';
  CopyIn(ScannerProfileArea(s->lightSource), "");
  CopyIn(kDefaultInternalProfile, "");
  CopyIn(kDefaultOutputProfile, "");
}

void LoadCalibration(ColorSettingsSnapshot* s) {
  CopyIn(kDefaultCalibrationProfileName, s->calibrationName);
  if (s->calibrationName[0] && !LoadCalibrationProfile()) {
    s->calibrationName[0] = '\0';
    CopyIn(kDefaultCalibrationProfileName, "");
  }
}

void LoadCmykTables(ColorSettingsSnapshot* s) {
  CopyIn(kDefaultCmykSourceName, s->cmykProfileName);
  if (s->cmykProfileName[0] && LoadCmykConversionTables()) return;
  FreeCmykConversionTables();
  s->cmykProfileName[0] = '\0';
  CopyIn(kDefaultCmykSourceName, "");
}

}  // namespace

ColorSettingsSnapshot TakeColorSettingsSnapshot() {
  ColorSettingsSnapshot s;
  s.currentFrame = gCurrentFrame;
  s.lightSource = gLightSourceFlag;
  s.positionMode = gOptionUnitFlag;
  s.positionNumber = gOptionSlot;
  s.filmFlag = GetDefault(gDefaults, kDefaultNegativeMode);
  s.outputConversionByte = GetDefault(gDefaults, kDefaultThreeChannelOutput);
  s.outputMode = static_cast<uint16_t>(GetDefault(gDefaults, kDefaultOutputCmsMode));
  s.inputMode = static_cast<uint16_t>(GetDefault(gDefaults, kDefaultInputCmsMode));
  CopyOut(kDefaultInternalProfile, s.internalProfile, kProfilePathSize);
  CopyOut(kDefaultOutputProfile, s.outputProfile, kProfilePathSize);
  CopyOut(kDefaultCmykSourceName, s.cmykProfileName, kProfilePathSize);
  CopyOut(ScannerProfileArea(s.lightSource), s.scannerProfile, kProfilePathSize);
  CopyOut(kDefaultCalibrationProfileName, s.calibrationName, kCalibrationNameSize);
  return s;
}

void CurrentScannerProfile(uint8_t lightSource, char* path) {
  CopyOut(ScannerProfileArea(lightSource), path, kProfilePathSize);
}

void PutBackSourceSettings(const ColorSettingsSnapshot& s) {
  gLightSourceFlag = s.lightSource;
  gOptionUnitFlag = s.positionMode;
  gOptionSlot = s.positionNumber;
  SetDefault(gDefaults, kDefaultNegativeMode, s.filmFlag);
  SetDefault(gDefaults, kDefaultThreeChannelOutput, s.outputConversionByte);
}

void ApplySettingsSnapshot(const ColorSettingsSnapshot& snapshot) {
  ColorSettingsSnapshot s = snapshot;
  SetTransformSettings(s);
  RebuildTransforms(&s);
  LoadCalibration(&s);
  LoadCmykTables(&s);
}

void ApplyChangedColorSettings(ColorSettingsSnapshot* s) {
  const bool sameTransforms =
      GetDefault(gDefaults, kDefaultInputCmsMode) == static_cast<int16_t>(s->inputMode) &&
      GetDefault(gDefaults, kDefaultOutputCmsMode) == static_cast<int16_t>(s->outputMode) &&
      SameText(ScannerProfileArea(s->lightSource), s->scannerProfile) &&
      SameText(kDefaultInternalProfile, s->internalProfile) && SameText(kDefaultOutputProfile, s->outputProfile);
  if (!sameTransforms) {
    SetTransformSettings(*s);
    RebuildTransforms(s);
  }
  if (!SameText(kDefaultCalibrationProfileName, s->calibrationName)) LoadCalibration(s);
  if (!SameText(kDefaultCmykSourceName, s->cmykProfileName)) LoadCmykTables(s);
}
