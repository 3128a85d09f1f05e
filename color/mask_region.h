// A frame's mask as a region in frame-relative pixels, built from the named
// mask record; selective colour and the colour matrix correct only inside it.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

struct MaskRegion;  // opaque, platform-neutral

// Builds the region of the named mask scaled to frameRect (to preview pixels
// with toPreview) into *slot; 0, or -108 when the mask cannot be read.
int32_t BuildMaskRegionForRect(MaskRegion** slot, const char* maskName, const WinRect& frameRect, uint8_t toPreview);
// Deletes the region in *slot (forgetOnly: drops it without deleting) and sets the slot to null.
void ClearRegionSlot(MaskRegion** slot, uint8_t forgetOnly);
// Whether the frame-relative point lies inside the region.
bool MaskRegionContains(const MaskRegion* region, int32_t x, int32_t y);
