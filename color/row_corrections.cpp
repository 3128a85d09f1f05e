#include "color/row_corrections.h"

// Not built yet: no selective colour tables and no regions, rows unchanged.
bool IsSelectiveColorReady() { return false; }
bool AreRegionCorrectionsReady() { return false; }
void BuildRegionCorrectionLuts(const FrameRecord*) {}
void ApplySelectiveColor8(uint8_t*, int32_t, int32_t, int32_t, int32_t, bool) {}
void ApplySelectiveColor16(uint16_t*, int32_t, int32_t, int32_t, int32_t, bool) {}

ColorMatrixLutSet gRegionMatrixSet;
