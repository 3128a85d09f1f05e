// Frames for the preview tests: the scan frame's settings over the given
// areas (inches), appended in order; the first becomes the current frame.
#pragma once

#include <initializer_list>

#include "foundation/geometry.h"
#include "frames/frame_list.h"
#include "state/data_source_state.h"

inline void AppendFramesAt(std::initializer_list<DRect> areas) {
  for (const DRect& r : areas) {
    FrameRecord f = gScanFrame;
    f.originX = r.x;
    f.originY = r.y;
    f.width = r.width;
    f.height = r.height;
    AppendFrameNode(NewFrameNode(f));
  }
}
