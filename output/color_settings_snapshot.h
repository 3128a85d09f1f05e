// The colour-management and source settings a job entry carries, and the
// snapshot of them that a job run and the editing of an entry save and put
// back. The settings themselves live in the defaults block and the session
// state; this is plain data copied in and out of them.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

constexpr uint32_t kProfilePathSize = 260;
constexpr uint32_t kCalibrationNameSize = 64;

struct ColorSettingsSnapshot {
  FrameRecord* currentFrame = nullptr;
  uint8_t lightSource = 0;         // 1 transparency, 0 reflective
  uint8_t positionMode = 0;        // the option unit is in use
  int16_t positionNumber = 0;      // its slot
  uint8_t filmFlag = 0;            // negative original
  uint8_t outputConversionByte = 0;  // the output stays RGB
  uint16_t outputMode = 0;         // output-side colour-management mode (2 ICM, 4 L*a*b*, 5 tables)
  uint16_t inputMode = 0;          // input-side colour-management mode
  char internalProfile[kProfilePathSize] = {};
  char outputProfile[kProfilePathSize] = {};
  char cmykProfileName[kProfilePathSize] = {};
  char scannerProfile[kProfilePathSize] = {};  // of the snapshot's light source
  char calibrationName[kCalibrationNameSize] = {};
};

// The current settings (the scanner profile of the current light source).
ColorSettingsSnapshot TakeColorSettingsSnapshot();
// The scanner profile path of the light source's slot (kProfilePathSize bytes).
void CurrentScannerProfile(uint8_t lightSource, char* path);
// The source flags of the snapshot made current: light source, position
// mode and number, film flag, output-conversion byte.
void PutBackSourceSettings(const ColorSettingsSnapshot& snapshot);
// Puts the colour settings back unconditionally: modes, profile paths and the
// scanner profile of its light source (transforms rebuilt), the calibration
// (a failed load empties its name) and the CMYK tables (freed and the name
// emptied when they cannot be loaded).
void ApplySettingsSnapshot(const ColorSettingsSnapshot& snapshot);
// The same, touching only what differs from the current settings.
void ApplyChangedColorSettings(ColorSettingsSnapshot* settings);
