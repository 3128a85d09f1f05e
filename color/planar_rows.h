// Rows of planar samples (each row: the first plane's samples, then the
// second's, ...) into interleaved pixels, as the transfers and the host
// hand-over need them.
#pragma once

#include <cstdint>

// Three planes (R, G, B) into R, G, B pixels; rows of width samples per plane.
void Planar3ToInterleaved8(const uint8_t* source, uint8_t* target, int32_t rows, int32_t width);
void Planar3ToInterleaved16(const uint16_t* source, uint16_t* target, int32_t rows, int32_t width);
// Four planes (C, M, Y, K) into C, M, Y, K pixels.
void Planar4ToInterleaved8(const uint8_t* source, uint8_t* target, int32_t rows, int32_t width);
// Three planes (R, G, B) into B, G, R pixels, as bitmaps keep them.
void Planar3ToBgr8(const uint8_t* source, uint8_t* target, int32_t rows, int32_t width);
