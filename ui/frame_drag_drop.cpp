#include "ui/frame_drag_drop.h"

// Not built yet: the drag ends at once with nothing dropped.
uint32_t DoFrameDragDrop(const FrameRecord&, uint32_t) { return kDropEffectNone; }
