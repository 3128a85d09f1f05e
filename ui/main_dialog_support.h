// Services of the main dialog that the frame editing and the panels call:
// the densitometer readout at the cursor and the limits of scale and
// resolution by the device's resolution list and scaling range.
#pragma once

#include <cstdint>

struct FrameRecord;

// Samples the preview at the cursor into the densitometer.
void SampleDensitometerAtCursor();

// The scale (percent) limited to first x minPercent / divisor (at least 1)
// and last x maxPercent / divisor, the upper limit winning; true when changed.
bool ClampScaleToResolutions(float* scale, int16_t divisor);
// A new scale of one axis of the current frame, limited so that neither axis
// leaves the resolution range; growing or shrinking the axis that does not
// hold the larger (smaller) scale is limited in proportion.
double ClampOutputScale(float newScale, bool xAxis);
// A value limited so that value x the frame's output resolution stays inside
// the resolution range. The axis does not enter the result.
double ClampOutputResolution(float value, bool xAxis, const FrameRecord* frame);
