// Mask regions: the area of a frame's named mask as pixel rectangles relative
// to the frame's top-left pixel, which the matrix, cube and selective colour
// corrections consult per pixel. The mask records belong to the frames above
// this library; they reach it through the services the frames install.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/geometry.h"

struct MaskRegion;

struct MaskRegionServices {
  // The named mask: its area as rectangles in the grid of the rectangle it
  // was drawn on (drawnOn). false when the record cannot be read; an empty
  // area when there is no such mask.
  bool (*loadMaskRegion)(const char* name, std::vector<WinRect>* area, WinRect* drawnOn) =
      [](const char*, std::vector<WinRect>* area, WinRect*) {
        area->clear();
        return true;
      };
  // The rectangle in preview pixels while the preview shows a zoomed part; unchanged otherwise.
  WinRect (*maskRectToPreview)(const WinRect& rect) = [](const WinRect& rect) { return rect; };
};
void InstallMaskRegionServices(const MaskRegionServices& services);

// Loads the named mask into *slot for a frame at frameRect (the pixel grid the
// lines will be addressed in), rescaled when the mask was drawn on another
// rectangle, first mapped to preview pixels when toPreview is set. An empty
// or absent mask (or an empty name) leaves the slot null. The slot is not
// cleared first. 0, or -108 when the mask record cannot be read.
int32_t BuildMaskRegionForRect(MaskRegion** slot, const char* maskName, const WinRect& frameRect, uint8_t toPreview);
// forgetOnly 1 sets the slot to null; 0 deletes the region first.
void ClearRegionSlot(MaskRegion** slot, uint8_t forgetOnly);
// The frame-relative pixel lies inside the region.
bool MaskRegionContains(const MaskRegion* region, int32_t x, int32_t y);
