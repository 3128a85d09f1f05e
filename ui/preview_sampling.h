// What the tone engine measures on the main window's preview: histogram
// smoothing and the mean colour of the current frame's preview pixels.
#pragma once

#include <cstdint>

// Each empty bin, from the first to the last, becomes the mean of the nearest
// non-zero bin below (bin 0 when none) and the nearest non-zero bin above;
// when only the last bin lies above, its right neighbour stands in. Bins
// filled earlier in the pass count as non-zero, so a run of gaps fades out.
void FillHistogramGaps(uint32_t* bins, int count);

// The rounded mean colour of the uncorrected preview's pixels inside the
// current frame whose grey lies in lowGrey..highGrey (inverted samples for an
// inverted frame). storedRect: the frame's rectangle as stored, without the
// preview's orientation. False when no pixel qualifies or there is no frame.
bool SampleFramePreview(uint8_t rgb[3], int lowGrey, int highGrey, bool storedRect);
