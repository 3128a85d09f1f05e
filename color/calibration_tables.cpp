#include "color/calibration_tables.h"

#include <cstring>

#include "color/color_cubes.h"
#include "color/color_matrix.h"

CalibrationTables gCalibrationTables;

namespace {
// The tables hold a valid identity cube from the start.
const bool kTablesReset = (ResetCalibrationTables(&gCalibrationTables), true);
}  // namespace

void ResetCalibrationTables(CalibrationTables* tables) {
  if (!tables) return;
  std::memset(tables, 0, sizeof(*tables));
  tables->format = 3;
  tables->channels = 3;
  tables->rows = kCalibrationRows;
  tables->columns = kCalibrationColumns;
  tables->cubeChannels = 3;
  tables->cubeNodes = kCubeNodes;
  InitIdentityCubeDoubles(&tables->cube[0][0][0][0]);
}

void ResetGreyRowTable(int16_t first, int16_t last) {
  for (int32_t i = first; i <= last; ++i)
    gCalibrationSet.greyRow[i] = static_cast<int16_t>(255 - ((i / 4) * 255) / 21);
}

int32_t DoubleToFixed(double value, int32_t scale) {
  const double limit = 2147483647.0 / scale;
  if (value != value) value = 0;  // not a number
  if (value > limit) value = limit;
  if (value < -limit) value = -limit;
  return static_cast<int32_t>(scale * value + 0.5);
}

double FixedToDouble(int32_t value, int32_t scale) { return static_cast<double>(value) / scale; }

const double* CalibrationCubeTable() { return &gCalibrationTables.cube[0][0][0][0]; }
uint32_t CalibrationCubeTableSize() { return kCubeTableBytes; }

bool CalibrationHoldsCube() {
  return gCalibrationTables.cubeChannels == 3 && gCalibrationTables.cubeNodes == kCubeNodes;
}
