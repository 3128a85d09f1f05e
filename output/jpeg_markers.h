// The application markers of the JPEG writer: the Photoshop APP13 marker
// with the image's JPEG thumbnail, and the embedded ICC profile in numbered
// APP2 "ICC_PROFILE" chunks.
#pragma once

#include <cstdint>
#include <vector>

// A marker's content is at most 65533 bytes (its length word counts itself).
constexpr uint32_t kLargestMarkerContent = 65533;

constexpr uint32_t kPhotoshopSignatureBytes = 14;  // "Photoshop 3.0" and its zero
constexpr uint32_t kPhotoshopLengthAt = 22;
constexpr uint32_t kPhotoshopHeaderAt = 26;
constexpr uint32_t kPhotoshopJpegAt = 54;
// The APP13 content: the signature, the 8BIM thumbnail resource (id 1033,
// empty name, data length at 22 = total - 26), the 28-byte big-endian
// thumbnail header at 26 and the JPEG at 54, padded to an even length.
// Empty when the thumbnail cannot be compressed or the marker would be too
// long for JPEG (the library would fail the whole file).
std::vector<uint8_t> BuildPhotoshopMarker(const uint8_t* thumbnail, uint32_t width, uint32_t height);

constexpr uint32_t kIccTagBytes = 12;  // "ICC_PROFILE" and its zero
constexpr uint32_t kIccChunkPayload = kLargestMarkerContent - kIccTagBytes - 2;
static_assert(kIccChunkPayload == 65519, "two bytes number the chunk");
// The number of APP2 chunks of a profile (0 without one).
uint32_t IccMarkerCount(uint32_t profileSize);
// The content of chunk `number` (1-based): the tag, the number, the count and its share of the profile.
std::vector<uint8_t> BuildIccMarker(const uint8_t* profile, uint32_t profileSize, uint32_t number);
