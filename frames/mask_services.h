// The frames' named masks ("MASK" records of the application store) as the
// colour corrections read them (color/mask_region.h).
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/geometry.h"

// The mask of the id, or of the name when id is 0: its area as rectangles
// and the rectangle it was drawn on; false when the record cannot be read.
bool LoadMaskRegion(uint16_t id, const char* name, std::vector<WinRect>* area, WinRect* drawnOn);
// The rectangle in preview pixels while the preview shows a zoomed part.
WinRect MaskRectToPreview(const WinRect& rect);

// Gives the colour corrections the masks (at module attach).
void InstallFrameMaskServices();
