#include "color/cube_services.h"

#include <vector>

#include "color/color_profile_set.h"

const double* CalibrationCubeTable() {
  // Neutral until calibration is built: the identity grid.
  static const std::vector<double> identity = [] {
    std::vector<uint16_t> grid(kCubeEntries * 3);
    InitIdentityCube(grid.data());
    std::vector<double> cube(grid.size());
    U16ToUnitDoubles(cube.data(), grid.data(), static_cast<int32_t>(grid.size()));
    return cube;
  }();
  return identity.data();
}

uint32_t CalibrationCubeTableSize() { return kCubeTableBytes; }

void InitIdentityCube(uint16_t* block) {
  auto node = [](int32_t i) { return static_cast<uint16_t>(i == kCubeNodes - 1 ? 65535 : i * 2048); };
  for (int32_t r = 0; r < kCubeNodes; ++r) {
    for (int32_t g = 0; g < kCubeNodes; ++g) {
      for (int32_t b = 0; b < kCubeNodes; ++b) {
        *block++ = node(r);
        *block++ = node(g);
        *block++ = node(b);
      }
    }
  }
}

void U16ToUnitDoubles(double* out, const uint16_t* in, int32_t count) {
  for (int32_t i = 0; i < count; ++i) out[i] = in[i] / 65535.0;
}

void ApplyColorCubeToDoubles(const double* in, double* out, const double*, int32_t count, int32_t inStep,
                             int32_t inPlaneOffset, int32_t outStep, int32_t outPlaneOffset) {
  // Neutral until the colour subsystem interpolates in the cube: samples pass unchanged.
  for (int32_t c = 0; c < 3; ++c) {
    for (int32_t i = 0; i < count; ++i) out[c * outPlaneOffset + i * outStep] = in[c * inPlaneOffset + i * inStep];
  }
}

// Not built yet: the calibration cube leaves rows unchanged.
void ApplyColorCube8(uint8_t*, int32_t, int32_t) {}

ColorTransformHandle ScannerToInternalTransform(uint8_t transparency) {
  const ColorTransformSlot slot = transparency ? kTransformTransparency : kTransformReflective;
  return gColorProfileSet.ready[slot] ? gColorProfileSet.transforms[slot] : nullptr;
}
