// Services of the colour subsystem around its 33 x 33 x 33 colour cube, used
// by the 16-bit intermediate stage of the session.
#pragma once

#include <cstdint>

#include "color/color_management.h"

constexpr int32_t kCubeNodes = 33;                                       // per axis
constexpr int32_t kCubeEntries = kCubeNodes * kCubeNodes * kCubeNodes;   // 35937 RGB triples
constexpr uint32_t kCubeTableBytes = kCubeEntries * 3 * sizeof(double);  // 862488

// The calibration cube: 35937 RGB triples of doubles 0..1, blue fastest, then
// green, then red.
const double* CalibrationCubeTable();
uint32_t CalibrationCubeTableSize();

// The identity grid in the cube's order: node i of an axis is i x 2048, the last 65535.
void InitIdentityCube(uint16_t* block);
// out[i] = in[i] / 65535.
void U16ToUnitDoubles(double* out, const uint16_t* in, int32_t count);

// Three planes of doubles 0..1 through the cube (in place when in == out);
// steps and plane offsets are in doubles.
void ApplyColorCubeToDoubles(const double* in, double* out, const double* cube, int32_t count, int32_t inStep,
                             int32_t inPlaneOffset, int32_t outStep, int32_t outPlaneOffset);

// One 8-bit planar RGB row through the calibration cube, in place.
void ApplyColorCube8(uint8_t* row, int32_t count, int32_t planeOffset);

// The scanner-to-internal transform of the reflective or the transparency
// original; null when none is built.
ColorTransformHandle ScannerToInternalTransform(uint8_t transparency);
