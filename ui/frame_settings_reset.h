// Back to the frame defaults: all frames but one go and the last becomes the
// preview default frame, or the current frame's colour and tone corrections
// return to the stored defaults.
#pragma once

// all: every frame but the last is removed and that one receives the preview
// default frame inside the scan-area margins (an empty list gets one such
// frame). Otherwise the current frame's colour values, colour matrices and the
// tone blocks of the selected channels return to the defaults and the tone
// template. Either way the global colour offsets are cleared and the tone
// channels selected for the frame's colour mode. The caller repaints.
void ResetFrameSettings(bool all);
