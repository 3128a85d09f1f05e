// The drag of a frame's record out of the preview: the drop source and data
// object, and the main dialog's drop target that moves or copies the frame.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

enum : uint32_t { kDropEffectNone = 0, kDropEffectCopy = 1, kDropEffectMove = 2 };

// Runs the drag of a copy of the frame with the allowed effects; the effect
// of the drop, kDropEffectNone when nothing was dropped.
uint32_t DoFrameDragDrop(const FrameRecord& frame, uint32_t allowedEffects);
