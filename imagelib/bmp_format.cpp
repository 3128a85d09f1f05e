#include "imagelib/bmp_format.h"

namespace imagelib {

namespace {

uint16_t LoadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void StoreLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

void DecodeBmpHeaders(const uint8_t (&bytes)[kBmpHeadersBytes], BmpHeaders* h) {
  using namespace bmp_offset;
  h->file_size = LoadLe32(bytes + kFileSize);
  h->data_offset = LoadLe32(bytes + kDataOffset);
  h->header_size = LoadLe32(bytes + kHeaderSize);
  h->width = static_cast<int32_t>(LoadLe32(bytes + kWidth));
  h->height = static_cast<int32_t>(LoadLe32(bytes + kHeight));
  h->planes = LoadLe16(bytes + kPlanes);
  h->bits = LoadLe16(bytes + kBitsPerPixel);
  h->compression = LoadLe32(bytes + kCompression);
  h->image_size = LoadLe32(bytes + kImageSize);
  h->x_pixels_per_metre = static_cast<int32_t>(LoadLe32(bytes + kXPixelsPerMetre));
  h->y_pixels_per_metre = static_cast<int32_t>(LoadLe32(bytes + kYPixelsPerMetre));
  h->colors_used = LoadLe32(bytes + kColorsUsed);
  h->colors_important = LoadLe32(bytes + kColorsImportant);
}

void EncodeBmpHeaders(const BmpHeaders& h, uint8_t (&bytes)[kBmpHeadersBytes]) {
  using namespace bmp_offset;
  bytes[kSignature] = 'B';
  bytes[kSignature + 1] = 'M';
  StoreLe32(bytes + kFileSize, h.file_size);
  StoreLe32(bytes + kReserved, 0);
  StoreLe32(bytes + kDataOffset, h.data_offset);
  StoreLe32(bytes + kHeaderSize, h.header_size);
  StoreLe32(bytes + kWidth, static_cast<uint32_t>(h.width));
  StoreLe32(bytes + kHeight, static_cast<uint32_t>(h.height));
  StoreLe16(bytes + kPlanes, h.planes);
  StoreLe16(bytes + kBitsPerPixel, h.bits);
  StoreLe32(bytes + kCompression, h.compression);
  StoreLe32(bytes + kImageSize, h.image_size);
  StoreLe32(bytes + kXPixelsPerMetre, static_cast<uint32_t>(h.x_pixels_per_metre));
  StoreLe32(bytes + kYPixelsPerMetre, static_cast<uint32_t>(h.y_pixels_per_metre));
  StoreLe32(bytes + kColorsUsed, h.colors_used);
  StoreLe32(bytes + kColorsImportant, h.colors_important);
}

}  // namespace imagelib
