// Colour corrections that the band producer applies to planar rows in place:
// the film set of the selective colour correction for film negatives, and
// the frame's own correction (the six-colour frame set, or the twelve-colour
// matrix when the frame's mode word is not 1) inside the frame's mask.
#pragma once

#include <cstdint>

#include "color/color_matrix.h"

struct FrameRecord;

// The film set holds a table block (the device's film-correction switch is the caller's to test).
bool IsSelectiveColorReady();
// The colour-correction switch is on and the frame's tables of either kind are not empty.
bool AreRegionCorrectionsReady();
// Rebuilds the frame's tables at the scan resolution from its matrix of the
// kind its mode word names, with its mask.
void BuildRegionCorrectionLuts(const FrameRecord* frame);

// One planar RGB row (plane offset in samples) at grid position x, y; region
// takes the frame set, else the film set.
void SelectiveColorLine8(uint8_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);
void SelectiveColorLine16(uint16_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);

// The twelve-colour matrix tables of the frame, built by
// BuildRegionCorrectionLuts (ApplyColorMatrix8/16 apply them).
extern ColorMatrixLutSet gRegionMatrixSet;
