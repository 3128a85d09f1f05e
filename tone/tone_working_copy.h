// Transfer between the current frame's tone blocks and the working copy that
// the tone tools edit. For an RGB frame the working copy is the average of
// the selected colour channels, and storing it applies the user's change to
// each selected channel as a difference, so that the channels keep their
// individual offsets.
#pragma once

#include <cstdint>

#include "records/tone_block.h"

// Fills gToneWorkingCopy from the current frame; returns the frame's colour
// mode (0 when no frame is current).
uint32_t LoadToneWorkingCopy();

// Writes gToneWorkingCopy back into the current frame. before is the working
// copy as it stood before the edit being stored.
void StoreToneWorkingCopy(ToneBlock before);
