// The JPEG thumbnail that the TIFF and JPEG writers embed in their Photoshop
// resource: a baseline JPEG of 24-bit R, G, B rows at 72 dots per inch.
#pragma once

#include <cstdint>
#include <vector>

// Appends the compressed thumbnail to the block; rows are width x 3 bytes
// padded to a multiple of 4. False when the library failed (the block may
// then hold a part of the stream).
bool CompressThumbnail(const uint8_t* rows, uint32_t width, uint32_t height, std::vector<uint8_t>* block);
