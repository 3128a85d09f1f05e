// Neutral colour-management settings and transforms until the profile set is
// built: no profiles chosen, no transforms, lines pass unchanged.
#include "color/color_management.h"

uint8_t gIcmEnabled = 0;

void FreeCmykConversionTables() {}

uint16_t InputColorManagementMode() { return kInputColorNone; }
const char* InternalProfilePath() { return ""; }

bool TranslateImageBlock(ColorTransformHandle, const void*, void*, int32_t, int32_t, uint8_t, int32_t, int32_t,
                         int32_t) {
  return true;
}

// Not built yet: nothing is loaded, and the chosen name is kept.
bool LoadCalibrationProfile() { return true; }
// Not built yet: no conversion tables can be made.
bool LoadCmykConversionTables() { return false; }
