// The frame parameter panel of the main window.
#pragma once

#include "frames/frame_tracking.h"

// Enables the panel's controls for the current frame, as its state allows.
bool UpdateFramePanelEnabling();
// Rewrites every field of the panel from the current frame.
void RefreshFramePanel();

// The tone tools' channel selection follows the current frame (the three
// colour channels of an RGB frame, else the master) and their working copy
// is loaded from it.
void ReloadToneToolsForCurrentFrame();

// The width and height locks beside the output-size fields and the
// proportional link, as the panel's lock images set them.
extern SizeLocks gFrameSizeLocks;

// The panel's fields of the current frame: scales, output size, original
// size, data size.
void ShowScaleFields();
void ShowOutputSize();
void ShowOriginalSize();
void ShowDataSize();
