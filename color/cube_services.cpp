#include "color/cube_services.h"

#include "color/color_calibration.h"
#include "color/color_profile_set.h"

ColorTransformHandle ScannerToInternalTransform(uint8_t transparency) {
  const ColorTransformSlot slot = transparency ? kTransformTransparency : kTransformReflective;
  return gColorProfileSet.ready[slot] ? gColorProfileSet.transforms[slot] : nullptr;
}
