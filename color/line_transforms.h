// Colour-management steps of the band producer: the scanner transform and
// the calibration cube on 8-bit input rows, the output transform, and the
// planar/interleaved conversions of the hand-over.
#pragma once

#include <cstdint>

// The scanner-to-internal transform of the current original type exists.
bool IsScannerTransformReady();
// The output transform (RGB or CMYK) exists.
bool IsOutputTransformReady();
// A zero-filled block of n 4-byte pixels for TranslateLine8; FreeLineBuffer releases it.
void* AllocLineBuffer(uint16_t n);
void FreeLineBuffer(void* buffer);
// One line of 4-byte pixels (red, green, blue, 0) through the scanner transform, in place.
bool TranslateLine8(uint8_t* pixels, int32_t count, void* lineBuffer);
// One 8-bit planar RGB row through the calibration cube, in place.
void ApplyColorCube8(uint8_t* row, int32_t count, int32_t planeOffset);
// One planar row through the output transform: RGB in place, or three planes into four CMYK planes.
void TranslateOutputLine(const uint8_t* in, uint8_t* out, int32_t count, bool cmyk);
void TranslateOutputLine16(const uint16_t* in, uint16_t* out, int32_t count, bool cmyk);

// Rows of planes (each row: the planes one after the other, width samples
// each) to interleaved pixels.
void Planar3ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width);
void Planar3ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width);
void Planar4ToInterleaved8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width);
void Planar4ToInterleaved16(const uint16_t* planes, uint16_t* out, int32_t rows, int32_t width);
// Blue, green, red order, as bitmaps keep their pixels.
void Planar3ToBgr8(const uint8_t* planes, uint8_t* out, int32_t rows, int32_t width);
