// The seven gradation points of a tone block with its expert values
// (contrast, brightness, mid-tone shift) applied, and their inverse.
#pragma once

#include <cstdint>

#include "records/tone_block.h"

constexpr int kGradationPoints = 7;

// Point p (0..6) with output y at input x: returns y' (0..256), *xOut = x
// moved by the mid-tone shift.
int16_t EvaluateGradationPoint(int16_t p, int16_t y, int32_t x, ToneBlock block, int16_t* xOut);
// The inverse: from y' and x' back to the raw y (returned, not clamped) and x.
int16_t InvertGradationPoint(int16_t p, int16_t yEvaluated, int32_t xEvaluated, ToneBlock block, int16_t* xOut);

// Keeps the evaluated points 1-5 of gToneWorkingCopy at least 6 apart in x.
void SpaceGradationPoints();

// The seven evaluated points of a block (x and y on the 0..256 scale).
void EvaluateGradationPoints(const ToneBlock& block, uint16_t x[kGradationPoints], uint16_t y[kGradationPoints]);

// The evaluated points through the spline into an n-entry table (the dialogs' graph).
void BuildGradationCurve8(uint8_t* table, ToneBlock block, int32_t n);
