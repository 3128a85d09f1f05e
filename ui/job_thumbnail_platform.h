// The platform's drawing of job thumbnails: the frame's part of the preview
// into an entry's 32-bit thumbnail bitmap, and a thumbnail matched for the monitor.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

// The source rectangle of the unprocessed preview image drawn with the flips
// and axis swap over rect of the bitmap; false without a preview image.
bool RenderPreviewThumbnail(const WinRect& source, uint8_t flipX, uint8_t flipY, uint8_t swapAxes, void* bitmap,
                            const WinRect& rect);
// A thumbnail copy drawn matched for the monitor (MatchBitmapForMonitor);
// false when nothing was drawn.
bool DrawMatchedThumbnail(void* dc, void* window, void* bitmap, uint32_t* bits, const WinRect& bitmapRect,
                          const WinRect& destination);
