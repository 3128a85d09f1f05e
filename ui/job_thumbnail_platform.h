// The frame's part of the preview drawn into a job entry's 32-bit thumbnail
// bitmap (the platform's drawing).
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

// The source rectangle of the unprocessed preview image drawn with the flips
// and axis swap over rect of the bitmap; false without a preview image.
bool RenderPreviewThumbnail(const WinRect& source, uint8_t flipX, uint8_t flipY, uint8_t swapAxes, void* bitmap,
                            const WinRect& rect);
