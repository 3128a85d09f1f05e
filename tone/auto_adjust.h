// The automatic adjustment: highlight and shadow points, output limits,
// mid-tones and, by the frame's subject, its contrast values, from the
// histogram of the preview inside the current frame.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

// The cast handling of the frame's subject: keep the colour cast, keep it in
// the white, keep it in the black. Each out pointer may be null.
void GetAutoAdjustMode(const FrameRecord* frame, uint8_t* keepCast, uint8_t* keepCastWhite, uint8_t* keepCastBlack);

// Sets the current frame's tone blocks from the preview. quiet keeps no
// colour cast and leaves the working copy and the preview alone; storedRect
// analyses the preview rectangle stored with the preview state and redraws
// nothing. False (nothing changed) without a frame, preview images or memory.
bool RunAutoAdjust(bool storedRect, bool quiet);
