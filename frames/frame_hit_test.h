// Which handle of a frame's preview rectangle a point is on: 1 top-left,
// 2 top, 3 top-right, 4 right, 5 bottom-right, 6 bottom, 7 bottom-left,
// 8 left, 0 none. Corners are tested before edges.
#pragma once

#include "foundation/geometry.h"

// sizeLocks: the three size-lock options of the frame panel are all on; the
// corners then reach along their edges too.
int HitTestFrameEdge(WinPoint point, const WinRect& frame, bool sizeLocks);
