// The RGB basis of the data source: display gamma, primaries and white point
// kept in the defaults block for the Lab conversions and the monitor matching.
#pragma once

#include "color/color_module.h"
#include "records/defaults_block.h"

// Gamma 1.8, the primaries of set 3 and D65, or the basis the host hands over
// in its session record. Non-zero; 0 (block unchanged) when a profile read fails.
int SetupMonitorMatching(DefaultsBlock& block);

// The transform from the internal RGB profile to the monitor profile of the
// window's screen, made once per internal profile path and kept; null when a
// profile does not open or no transform can be made.
ColorTransformHandle MonitorTransform(void* window);
// Deletes the kept transform: before the colour module is unloaded.
void FreeMonitorTransform();
