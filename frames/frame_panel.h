// The frame parameter panel of the main window.
#pragma once

#include "frames/frame_tracking.h"

// Enables the panel's controls for the current frame, as its state allows.
bool UpdateFramePanelEnabling();

// The width and height locks beside the output-size fields and the
// proportional link, as the panel's lock images set them.
extern SizeLocks gFrameSizeLocks;

// The panel's fields of the current frame: scales, output size, original
// size, data size.
void ShowScaleFields();
void ShowOutputSize();
void ShowOriginalSize();
void ShowDataSize();
