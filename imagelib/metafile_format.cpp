#include "imagelib/metafile_format.h"

#include "imagelib/bmp_format.h"
#include "imagelib/imagelib.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void Store16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// The METAHEADER's fields: type, header size in words, version, size in words.
constexpr size_t kMetaType = 0;
constexpr size_t kMetaHeaderWords = 2;
constexpr size_t kMetaSizeWords = 6;
constexpr uint16_t kMemoryMetafile = 1;
constexpr uint16_t kDiskMetafile = 2;

// From 0.01 mm to inches, as the picture's extents are turned into pixels.
constexpr double kInchesPerHundredthMm = 0.00039368528798078815;

}  // namespace

bool HasPlaceableKey(const uint8_t* bytes, size_t size) { return size >= 4 && LoadLe32(bytes) == kPlaceableKey; }

PlaceableHeader DecodePlaceableHeader(const uint8_t* bytes) {
  using namespace placeable_offset;
  PlaceableHeader h;
  h.left = static_cast<int16_t>(Load16(bytes + kLeft));
  h.top = static_cast<int16_t>(Load16(bytes + kTop));
  h.right = static_cast<int16_t>(Load16(bytes + kRight));
  h.bottom = static_cast<int16_t>(Load16(bytes + kBottom));
  h.units_per_inch = Load16(bytes + kUnitsPerInch);
  return h;
}

void EncodePlaceableHeader(const PlaceableHeader& h, uint8_t (&bytes)[kPlaceableHeaderBytes]) {
  using namespace placeable_offset;
  StoreLe32(bytes + kKey, kPlaceableKey);
  Store16(bytes + kHandle, 0);
  Store16(bytes + kLeft, static_cast<uint16_t>(h.left));
  Store16(bytes + kTop, static_cast<uint16_t>(h.top));
  Store16(bytes + kRight, static_cast<uint16_t>(h.right));
  Store16(bytes + kBottom, static_cast<uint16_t>(h.bottom));
  Store16(bytes + kUnitsPerInch, h.units_per_inch);
  StoreLe32(bytes + kReserved, 0);
  uint16_t checksum = 0;
  for (size_t i = 0; i < kChecksum; i += 2) checksum ^= Load16(bytes + i);
  Store16(bytes + kChecksum, checksum);
}

int CheckPictureSize(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return kImageNotMetafile;
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3 > kLargestBlock) return kImageNoMemory;
  return kImageOk;
}

PlaceableSize SizePlaceablePicture(const PlaceableHeader& h, int pixels_per_inch_x, int pixels_per_inch_y) {
  PlaceableSize size;
  const int box_x = h.right - h.left;
  const int box_y = h.bottom - h.top;
  if (h.units_per_inch == 0 || box_x <= 0 || box_y <= 0) {
    size.error = kImageNotMetafile;
    return size;
  }
  // Within int: a box of at most 65535 units times 2540.
  size.extent_x = box_x * 2540 / h.units_per_inch;
  size.extent_y = box_y * 2540 / h.units_per_inch;
  const double width = size.extent_x * kInchesPerHundredthMm * pixels_per_inch_x;
  const double height = size.extent_y * kInchesPerHundredthMm * pixels_per_inch_y;
  size.error = CheckPictureSize(static_cast<int64_t>(width), static_cast<int64_t>(height));
  if (size.error == kImageOk) {
    size.width = static_cast<int>(width);
    size.height = static_cast<int>(height);
  }
  return size;
}

int CheckMetaHeader(const uint8_t* data, size_t size) {
  if (size < kMetaHeaderBytes) return kImageNotMetafile;
  const uint16_t type = Load16(data + kMetaType);
  if ((type != kMemoryMetafile && type != kDiskMetafile) || Load16(data + kMetaHeaderWords) != kMetaHeaderBytes / 2)
    return kImageNotMetafile;
  const uint64_t bytes = static_cast<uint64_t>(LoadLe32(data + kMetaSizeWords)) * 2;
  if (bytes < kMetaHeaderBytes) return kImageNotMetafile;
  return bytes > size ? kImageReadFailed : kImageOk;
}

}  // namespace imagelib
