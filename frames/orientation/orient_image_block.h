// Orients a block of image rows in memory for output: mirrors and a quarter
// turn clockwise (source row i becomes destination column rows - 1 - i).
#pragma once

#include <cstdint>

// The source (rows x width pixels of bitsPerPixel) is mirrored in place, then
// copied or turned into the destination. Interleaved rows hold whole pixels;
// otherwise a row holds the planes one after the other (24 and 32 bits per
// pixel: planes of 8 bits; 48 and 64: planes of 16 bits). rowBytes 0 means
// ceil(width x bitsPerPixel / 8). Turned, the destination has width rows of
// rows pixels, each rows x bitsPerPixel / 8 bytes (rounded up). False when
// the arguments make no block.
bool OrientImageBlock(uint8_t* source, uint8_t* destination, int32_t rows, int32_t width, int32_t bitsPerPixel,
                      uint8_t mirrorH, uint8_t mirrorV, uint8_t swapAxes, bool interleaved, int32_t rowBytes);
