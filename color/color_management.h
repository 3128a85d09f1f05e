// Colour-management services: ICC profiles and colour transforms, and the input
// colour-management settings that decide which transform a line goes through.
#pragma once

#include <cstdint>

#include "color/color_module.h"

// Input colour-management modes.
enum InputColorMode : uint16_t {
  kInputColorNone = 1,
  kInputColorScannerProfiles = 2,
  kInputColorCalibration = 3,
  kInputColorEmbeddedProfile = 4,
};

// Colour management through the system module is switched on.
extern uint8_t gIcmEnabled;

// The input-side mode word of the defaults.
uint16_t InputColorManagementMode();
// Full path of the internal RGB working profile; empty when none is chosen.
const char* InternalProfilePath();

// The RGB basis as the defaults block keeps it: display gamma, (x, y) of red,
// green and blue, (x, y) of the white point.
struct RgbBasis {
  float gamma;
  float primaries[6];
  float white[2];
};
static_assert(sizeof(RgbBasis) == 36, "the basis fills 36 bytes of the defaults block");

// The basis of an RGB profile (its gamma curve, white point and colorants
// scaled by white over illuminant); fields whose tag is missing keep their value.
bool ReadProfileRgbBasis(const char* path, RgbBasis* basis);
// Resets the calibration, then loads the calibration profile named in the
// defaults block from the settings folder; false (and the reset form) when it
// cannot be loaded. The caller rebuilds the tables (RebuildCalibrationTables).
bool LoadCalibrationProfile();
