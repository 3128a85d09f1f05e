// Services of the colour subsystem around the calibration's colour cubes,
// used by the band producer and the 16-bit intermediate stage of the session.
#pragma once

#include <cstdint>

#include "color/calibration_tables.h"
#include "color/color_calibration.h"
#include "color/color_cubes.h"
#include "color/color_management.h"

// CalibrationCube8, the calibration's 8-bit cube, is declared in color/color_calibration.h.

// The scanner-to-internal transform of the reflective or the transparency
// original; null when none is built.
ColorTransformHandle ScannerToInternalTransform(uint8_t transparency);
