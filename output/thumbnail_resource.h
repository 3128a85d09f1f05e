// The Photoshop thumbnail resource (id 1033) that the TIFF and EPS writers
// embed: the resource header, the big-endian thumbnail header and a baseline
// JPEG of the 24-bit thumbnail rows at 72 dots per inch.
#pragma once

#include <cstdint>
#include <vector>

// The whole resource block, padded to even; false when the JPEG could not be made.
// rows: height rows of (width x 24 + 31) / 32 x 4 bytes, top to bottom.
bool BuildThumbnailResource(const uint8_t* rows, uint32_t width, uint32_t height, std::vector<uint8_t>* block);
