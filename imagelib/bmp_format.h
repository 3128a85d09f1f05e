// The Windows bitmap file layout: the 14-byte file header and the 40-byte
// information header, little-endian, as read and as written.
#ifndef IMAGELIB_BMP_FORMAT_H
#define IMAGELIB_BMP_FORMAT_H

#include <cstddef>
#include <cstdint>

namespace imagelib {

// Byte offsets from the start of the file.
namespace bmp_offset {
constexpr size_t kSignature = 0;
constexpr size_t kFileSize = 2;
constexpr size_t kReserved = 6;
constexpr size_t kDataOffset = 10;
constexpr size_t kHeaderSize = 14;
constexpr size_t kWidth = 18;
constexpr size_t kHeight = 22;
constexpr size_t kPlanes = 26;
constexpr size_t kBitsPerPixel = 28;
constexpr size_t kCompression = 30;
constexpr size_t kImageSize = 34;
constexpr size_t kXPixelsPerMetre = 38;
constexpr size_t kYPixelsPerMetre = 42;
constexpr size_t kColorsUsed = 46;
constexpr size_t kColorsImportant = 50;
}  // namespace bmp_offset

constexpr size_t kBmpFileHeaderBytes = 14;
constexpr size_t kBmpInfoHeaderBytes = 40;
constexpr size_t kBmpHeadersBytes = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;
constexpr size_t kBmpMasksBytes = 12;
constexpr uint32_t kBmpTableEntryBytes = 4;

static_assert(bmp_offset::kHeaderSize == kBmpFileHeaderBytes, "information header follows the file header");
static_assert(bmp_offset::kColorsImportant + 4 == kBmpHeadersBytes, "the two headers are 54 bytes");

enum BmpCompression : uint32_t { kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3 };

struct BmpHeaders {
  uint32_t file_size = 0;
  uint32_t data_offset = 0;
  uint32_t header_size = kBmpInfoHeaderBytes;
  int32_t width = 0;
  int32_t height = 0;  // negative: rows stored top-down
  uint16_t planes = 1;
  uint16_t bits = 0;
  uint32_t compression = kBmpRgb;
  uint32_t image_size = 0;
  int32_t x_pixels_per_metre = 0;
  int32_t y_pixels_per_metre = 0;
  uint32_t colors_used = 0;
  uint32_t colors_important = 0;
};

// The signature is the caller's to check.
void DecodeBmpHeaders(const uint8_t (&bytes)[kBmpHeadersBytes], BmpHeaders* headers);
void EncodeBmpHeaders(const BmpHeaders& headers, uint8_t (&bytes)[kBmpHeadersBytes]);

inline uint32_t LoadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

inline void StoreLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Bytes of one stored row, padded to a multiple of 4.
inline uint64_t BmpStride(int64_t width, int bits) { return ((width * bits + 31) / 32) * 4; }

}  // namespace imagelib

#endif
