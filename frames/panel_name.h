// The frame-name field (1234) of the frame page.
#pragma once

#include "records/frame_record.h"

// The typed name, cut to 47 characters, becomes the frame's name unless
// another frame of the list has it (then the frame keeps its own); an empty
// text clears the name flag. True when the field stays pending (the stored
// name differs from what was typed).
bool ApplyFrameNameEdit(FrameRecord* frame, const char* typed);
