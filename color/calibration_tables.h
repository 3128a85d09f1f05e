// The calibration's global tables: the reference and measured values of the
// IT8 target's patches and the fitted colour cube; and the fixed-point forms
// the calibration profile file stores them in.
#pragma once

#include <cstddef>
#include <cstdint>

// One reference patch of the target.
struct It8Patch {
  uint8_t present;
  double X, Y, Z, L, a, b;
};
static_assert(sizeof(It8Patch) == 56, "flag, then six doubles");

constexpr int kCalibrationRows = 13;     // target rows A-L, then the grey row
constexpr int kCalibrationColumns = 22;

struct CalibrationTables {
  uint16_t format, channels, rows, columns;  // 3, 3, 13, 22
  uint8_t colourDone, greyDone, referenceHasXyz, referenceHasLab;
  It8Patch reference[kCalibrationRows][kCalibrationColumns];
  double greyPassMeasured[kCalibrationRows][kCalibrationColumns][3];
  double colourPassMeasured[kCalibrationRows][kCalibrationColumns][3];
  uint16_t cubeChannels, cubeNodes;  // 3, 33
  double cube[33][33][33][3];        // node order of the colour cubes, values 0..1
};
static_assert(sizeof(CalibrationTables) == 892256, "one global block");
static_assert(offsetof(CalibrationTables, reference) == 16 && offsetof(CalibrationTables, cube) == 29768,
              "block layout");

extern CalibrationTables gCalibrationTables;

// Everything 0, then the header words and the identity cube of doubles. Nothing for null.
void ResetCalibrationTables(CalibrationTables* tables);
// greyRow[first..last] of the calibration set: 255 - ((i div 4) x 255) div 21,
// the identity grey row. Nothing when first > last.
void ResetGreyRowTable(int16_t first, int16_t last);

// value clamped to +-(2147483647 / scale), then truncation of scale x value + 0.5.
int32_t DoubleToFixed(double value, int32_t scale);
// value / scale.
double FixedToDouble(int32_t value, int32_t scale);

// The cube of the tables: 35937 RGB triples of doubles 0..1, and its size, 862488.
const double* CalibrationCubeTable();
uint32_t CalibrationCubeTableSize();
// The tables' cube header reads 3 channels, 33 nodes.
bool CalibrationHoldsCube();
