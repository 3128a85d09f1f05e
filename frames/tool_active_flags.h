// The frame's tool-active bytes: which correction tools have changed the
// frame away from its defaults. Job rows and the tool dialogs show them.
#pragma once

#include "records/frame_record.h"

// Sets colorToolActive, gradationToolActive, histogramToolActive and
// fourthToolActive from the frame's settings against the session's defaults
// record. The tone blocks looked at are the master block, or channels 1-3 of
// an RGB frame.
void ComputeToolActiveFlags(FrameRecord* frame);
