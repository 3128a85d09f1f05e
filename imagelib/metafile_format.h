// What the library reads of Windows metafiles itself, before GDI sees the
// bytes: the 22-byte placeable header in front of a WMF and the 18-byte
// METAHEADER that starts the metafile data. Little-endian throughout.
#ifndef IMAGELIB_METAFILE_FORMAT_H
#define IMAGELIB_METAFILE_FORMAT_H

#include <cstddef>
#include <cstdint>

namespace imagelib {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderBytes = 22;
constexpr size_t kMetaHeaderBytes = 18;

// Byte offsets in the placeable header.
namespace placeable_offset {
constexpr size_t kKey = 0;
constexpr size_t kHandle = 4;
constexpr size_t kLeft = 6;
constexpr size_t kTop = 8;
constexpr size_t kRight = 10;
constexpr size_t kBottom = 12;
constexpr size_t kUnitsPerInch = 14;
constexpr size_t kReserved = 16;
constexpr size_t kChecksum = 20;
}  // namespace placeable_offset

static_assert(placeable_offset::kChecksum + 2 == kPlaceableHeaderBytes, "the checksum ends the header");

struct PlaceableHeader {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  uint16_t units_per_inch = 0;
};

// True when the bytes start with the placeable key (size at least 4).
bool HasPlaceableKey(const uint8_t* bytes, size_t size);
// The caller has checked the key and that 22 bytes are there.
PlaceableHeader DecodePlaceableHeader(const uint8_t* bytes);
// With handle and reserved 0 and the checksum that makes all eleven words XOR to 0.
void EncodePlaceableHeader(const PlaceableHeader& header, uint8_t (&bytes)[kPlaceableHeaderBytes]);

// The picture's extents in 0.01 mm and its size in pixels at the given
// logical pixels per inch. Inch 0 or an empty or inverted box gives 27
// (not a metafile), a size whose 24-bit buffer would pass the largest block 1.
struct PlaceableSize {
  int error = 0;
  int extent_x = 0;
  int extent_y = 0;
  int width = 0;
  int height = 0;
};
PlaceableSize SizePlaceablePicture(const PlaceableHeader& header, int pixels_per_inch_x, int pixels_per_inch_y);

// 0 when the data start with a METAHEADER (type memory or disk, nine header
// words) whose metafile size fits the data; else 27 for no metafile, 3 for
// data that end before the size the header gives.
int CheckMetaHeader(const uint8_t* data, size_t size);

// 0 for a picture of that many pixels, 27 when empty, 1 when its 24-bit
// buffer would pass the largest block.
int CheckPictureSize(int64_t width, int64_t height);

}  // namespace imagelib

#endif
