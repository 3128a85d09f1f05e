// Neutral colour management until the colour-management subsystem is built:
// switched off, no profiles open, no transforms, lines pass unchanged.
#include "color/color_management.h"

uint8_t gIcmEnabled = 0;

void ColorSystemLoad() {}
void ColorSystemUnload() {}
void FreeCmykConversionTables() {}

uint16_t InputColorManagementMode() { return kInputColorNone; }
const char* InternalProfilePath() { return ""; }

int16_t CmsOpenColorProfile(ColorProfileHandle* profile, const ColorProfileLocation*, uint8_t) {
  *profile = nullptr;
  return kColorProfileError;
}
void CmsCloseColorProfile(ColorProfileHandle) {}
int16_t CmsCreateMultiProfileTransform(ColorTransformHandle* transform, ColorProfileHandle, ColorProfileHandle,
                                       uint8_t) {
  *transform = nullptr;
  return kColorProfileError;
}
void CmsDeleteColorTransform(ColorTransformHandle) {}
int16_t CmsGetColorProfileElement(ColorProfileHandle, uint32_t, uint32_t* size, void*) {
  *size = 0;
  return kColorProfileError;
}

bool TranslateImageBlock(ColorTransformHandle, const void*, void*, int32_t, int32_t, uint8_t, int32_t, int32_t,
                         int32_t) {
  return true;
}

// Not built yet: no profile can be read.
bool ReadProfileRgbBasis(const char*, RgbBasis*) { return false; }
// Not built yet: nothing is loaded, and the chosen name is kept.
bool LoadCalibrationProfile() { return true; }
// Not built yet: no conversion tables can be made.
bool LoadCmykConversionTables() { return false; }
