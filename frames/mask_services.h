// The frames' named masks ("MASK" records of the application store) as the
// colour corrections read them (color/mask_region.h), and their way between
// the stored form and the preview.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/geometry.h"

// The mask of the id, or of the name when id is 0: its area as rectangles
// and the rectangle it was drawn on; false when the record cannot be read.
bool LoadMaskRegion(uint16_t id, const char* name, std::vector<WinRect>* area, WinRect* drawnOn);

// A mask is stored unmirrored and unturned, inside its reference rectangle.
// This turns its rectangles into the preview's orientation (or, toStored,
// back); the reference's width and height exchange when the orientation
// swaps the axes, so that it always holds the rectangles in their axes.
void MapMaskRegionToPreview(std::vector<WinRect>* area, WinRect* reference, bool toStored);

// A rectangle of the unzoomed preview in the pixels of the zoomed one while
// the preview shows a zoomed part; unchanged otherwise.
WinRect MaskRectToPreview(const WinRect& rect);
// The main window keeps the zoom; it installs the mapping at module attach.
void InstallMaskZoomHook(WinRect (*unzoomedToZoomed)(const WinRect& rect));

// Gives the colour corrections the masks (at module attach).
void InstallFrameMaskServices();
