#include "color/cube_services.h"

#include "color/color_profile_set.h"

// Not built yet: the calibration allocates no cubes, rows pass unchanged.
MemHandle CalibrationCube8() { return nullptr; }

ColorTransformHandle ScannerToInternalTransform(uint8_t transparency) {
  const ColorTransformSlot slot = transparency ? kTransformTransparency : kTransformReflective;
  return gColorProfileSet.ready[slot] ? gColorProfileSet.transforms[slot] : nullptr;
}
