// Services of the main dialog that the frame editing calls: the densitometer
// readout at the cursor and the output scale's limit by the resolution list.
#pragma once

#include <cstdint>

// Samples the preview at the cursor into the densitometer.
void SampleDensitometerAtCursor();
// The scale (percent) clamped so that the output resolution stays within the device's resolution list.
float ClampScaleToResolutions(float scale, int16_t outputResolution);
