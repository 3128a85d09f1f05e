// Hands the tone engine what it needs of the main window (tone/tone_window_hooks.h).
#pragma once

#include <cstdint>

// Fills runs of empty bins from their non-empty neighbours. Not built yet: the
// histogram stays as counted.
void FillHistogramGaps(uint32_t* histogram, int count);
// The mean colour of the preview pixels inside the current frame whose grey
// lies in lowGrey..highGrey. Not built yet: finds no pixel.
bool SampleFramePreview(uint8_t rgb[3], int lowGrey, int highGrey, bool storedRect);

void InstallUserInterfaceToneHooks();
