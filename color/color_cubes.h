// Colour cubes: 33 x 33 x 33 lattices of RGB triples (8-bit, 16-bit or
// double) and their lookup by interpolation over five tetrahedra per cell.
// Node index (i0 x 33 + i1) x 33 + i2: i0 belongs to the first sample of a
// pixel (red), i2 to the third (blue).
#pragma once

#include <cstdint>

#include "foundation/memory.h"

struct ColorMatrixLutSet;

constexpr int32_t kCubeNodes = 33;                                       // per axis
constexpr int32_t kCubeEntries = kCubeNodes * kCubeNodes * kCubeNodes;   // 35937 RGB triples
constexpr uint32_t kCube8Bytes = kCubeEntries * 3;                       // 107811
constexpr uint32_t kCube16Bytes = kCubeEntries * 3 * sizeof(uint16_t);   // 215622
constexpr uint32_t kCubeTableBytes = kCubeEntries * 3 * sizeof(double);  // 862488
static_assert(kCube8Bytes == 107811 && kCube16Bytes == 215622 && kCubeTableBytes == 862488, "cube sizes");

// Zero-filled cubes; null when memory is short.
MemHandle NewCube8();
MemHandle NewCube16();

// The identity lattices in node order: node i of an axis is 8 x i (8-bit),
// 2048 x i (16-bit) or 2048 x i / 65535 (doubles); the last node is full scale.
void InitIdentityCube8(uint8_t* cube);
void InitIdentityCube(uint16_t* cube);
void InitIdentityCubeDoubles(double* cube);

// The 16-bit cube from the calibration profile's cube.
void ResetCube(MemHandle cube16);

// pixelCount pixels through an 8-bit cube; samples of pixel k at
// in[k x inStep], + inChannelOffset, + 2 x inChannelOffset, the output
// likewise. Nothing for a null cube. Pixel k lies at (x0 + k, y) of the
// frame; outside maskSet's region (when it has one) it is copied unchanged.
void ApplyColorCube8(const uint8_t* in, uint8_t* out, MemHandle cube8, int32_t pixelCount, int16_t inStep,
                     int16_t inChannelOffset, int16_t outStep, int16_t outChannelOffset, uint16_t x0, uint16_t y,
                     const ColorMatrixLutSet* maskSet);
// The same with 16-bit samples and a 16-bit cube (steps count samples).
void ApplyColorCube16(const uint16_t* in, uint16_t* out, MemHandle cube16, int32_t pixelCount, uint16_t inStep,
                      uint16_t inChannelOffset, uint16_t outStep, uint16_t outChannelOffset);
// Colours 0..1 through a cube of doubles (steps count doubles); inputs are
// taken as clamped to 0..1, outputs stay in 0..1. Nothing for a null cube.
void ApplyColorCubeToDoubles(const double* in, double* out, const double* cube, int32_t pixelCount, uint16_t inStep,
                             uint16_t inChannelOffset, uint16_t outStep, uint16_t outChannelOffset);

// Unit doubles to samples (truncation of x x full + 0.5, clamped) and back
// (x / 65535). Nothing for null pointers or n below 1.
void UnitDoublesToU8(uint8_t* out, const double* in, int32_t n);
void UnitDoublesToU16(uint16_t* out, const double* in, int32_t n);
void U16ToUnitDoubles(double* out, const uint16_t* in, int32_t n);
