#include "color/color_correction.h"

// Not built yet: no colour-correction presets or working state exist.
void InstallSelectiveColorPresets() {}
void InstallColorMatrixPresets() {}
void ResetSelectiveColor() {}
void InitColorMatrix12State() {}
