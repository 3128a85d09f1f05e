// The embedded thumbnails of image resources 1033 and 1036: a 28-byte header
// followed by JPEG data, decoded with the 8-bit build and drawn into the
// caller's bitmap. Resource 1036 holds red, green, blue; the older 1033
// holds blue, green, red, the order of the bitmap's pixels.
#pragma once

#include <cstdint>
#include <vector>

class ImageFileReader;

constexpr uint16_t kThumbnailResource = 1036;
constexpr uint16_t kOldThumbnailResource = 1033;
constexpr uint32_t kThumbnailHeaderBytes = 28;
// A larger embedded image is no thumbnail: refused before anything is sized by
// it, which also keeps width x 3 x height far from wrapping on 32 bits.
constexpr uint32_t kMaxThumbnailSide = 1024;

struct ThumbnailPixels {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> bgr;  // rows of blue, green, red, without padding
};

// Decodes the resource's JPEG data; swapRedBlue for resource 1036.
bool DecodeThumbnailResource(const std::vector<uint8_t>& resource, bool swapRedBlue, ThumbnailPixels* pixels);

// The reader's embedded thumbnail stretched over (0, 0, width, height) of the
// caller's bitmap; false when the reader has none or it cannot be decoded.
bool DrawEmbeddedThumbnail(ImageFileReader& reader, void* bitmap, uint8_t* bits, int32_t width, int32_t height,
                           int32_t rowBytes, int32_t pixelBytes);

// Stretches the pixels onto the caller's bitmap (the product) or into its
// bits (the host checks).
bool DrawThumbnailPixels(const ThumbnailPixels& pixels, void* bitmap, uint8_t* bits, int32_t width, int32_t height,
                         int32_t rowBytes, int32_t pixelBytes);
