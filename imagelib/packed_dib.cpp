#include "imagelib/packed_dib.h"

#include <cstring>

#include "imagelib/imagelib.h"

namespace imagelib {

uint64_t PackedDibBytes(int width, int height) {
  return kBmpInfoHeaderBytes + BmpStride(width, 24) * static_cast<uint64_t>(height);
}

namespace {

// 0, which no block has, when the arguments are refused.
uint64_t BlockBytes(const void* pixels, int width, int height) {
  return pixels && width > 0 && height > 0 ? PackedDibBytes(width, height) : 0;
}

}  // namespace

PackedDib::PackedDib(EntryWork& work, const void* pixels, int width, int height)
    : block_(BlockBytes(pixels, width, height)) {
  if (!block_) {
    work.error = BlockBytes(pixels, width, height) == 0 ? kImageBadArgument : kImageNoMemory;
    return;
  }
  const uint64_t stride = BmpStride(width, 24);
  // The file header's fields are not part of a packed DIB: encode both and keep the second.
  BmpHeaders headers;
  headers.width = width;
  headers.height = height;
  headers.bits = 24;
  headers.image_size = static_cast<uint32_t>(stride * static_cast<uint64_t>(height));
  uint8_t bytes[kBmpHeadersBytes];
  EncodeBmpHeaders(headers, bytes);
  uint8_t* out = block_.As<uint8_t>();
  std::memcpy(out, bytes + kBmpFileHeaderBytes, kBmpInfoHeaderBytes);

  const auto* src = static_cast<const uint8_t*>(pixels);
  const size_t row_bytes = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = src + static_cast<size_t>(height - 1 - y) * row_bytes;
    uint8_t* row = out + kBmpInfoHeaderBytes + static_cast<size_t>(y) * stride;
    for (size_t x = 0; x < row_bytes; x += 3) {
      row[x] = in[x + 2];
      row[x + 1] = in[x + 1];
      row[x + 2] = in[x];
    }
  }
}

}  // namespace imagelib
