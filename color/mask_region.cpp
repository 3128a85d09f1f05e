#include "color/mask_region.h"

// Built with the calibration work: no region is made, every point lies inside.
int32_t BuildMaskRegionForRect(MaskRegion** slot, const char*, const WinRect&, uint8_t) {
  *slot = nullptr;
  return 0;
}
void ClearRegionSlot(MaskRegion** slot, uint8_t) { *slot = nullptr; }
bool MaskRegionContains(const MaskRegion*, int32_t, int32_t) { return true; }
