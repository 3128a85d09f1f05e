// The grey balance of the IT8 calibration: the measured grey row as curve
// points per channel, for the tone engine's grey-balance tables.
#pragma once

#include <cstdint>

// Points (x = input level, y = output level, both 0..range) of calibration
// channel 0-2, from (0, 0) to (range, range); count 0 when maxPoints is below 2.
void GreyRowCurvePoints(double* x, double* y, int32_t* count, int32_t maxPoints, int32_t range,
                        int16_t channel);
