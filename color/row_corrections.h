// Colour corrections that the band producer applies to planar rows in place:
// the selective colour correction and the 12-colour matrix, each over the
// whole frame or limited to the frame's regions.
#pragma once

#include <cstdint>

#include "color/color_matrix.h"

struct FrameRecord;

// The selective colour switch is on and its lookup tables exist.
bool IsSelectiveColorReady();
// Region-limited corrections are on and the region tables of either kind are not empty.
bool AreRegionCorrectionsReady();
// Rebuilds the region lookup tables for the frame's regions at the scan
// resolution (selective colour or matrix by the frame's correction kind).
void BuildRegionCorrectionLuts(const FrameRecord* frame);

// One planar RGB row (plane offset in samples) at grid position x, y; region
// takes the region tables instead of the whole-frame ones.
void ApplySelectiveColor8(uint8_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);
void ApplySelectiveColor16(uint16_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);

// The twelve-colour matrix tables of the frame's regions, built by
// BuildRegionCorrectionLuts (ApplyColorMatrix8/16 apply them).
extern ColorMatrixLutSet gRegionMatrixSet;
