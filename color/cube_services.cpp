#include "color/cube_services.h"

#include <vector>

#include "color/color_profile_set.h"

const double* CalibrationCubeTable() {
  // Neutral until the calibration profile is built: the identity cube.
  static const std::vector<double> identity = [] {
    std::vector<double> cube(kCubeEntries * 3);
    InitIdentityCubeDoubles(cube.data());
    return cube;
  }();
  return identity.data();
}

uint32_t CalibrationCubeTableSize() { return kCubeTableBytes; }

// Not built yet: the calibration allocates no cubes, rows pass unchanged.
MemHandle CalibrationCube8() { return nullptr; }

ColorTransformHandle ScannerToInternalTransform(uint8_t transparency) {
  const ColorTransformSlot slot = transparency ? kTransformTransparency : kTransformReflective;
  return gColorProfileSet.ready[slot] ? gColorProfileSet.transforms[slot] : nullptr;
}
