// A pixel buffer as a packed device-independent bitmap: one block holding the
// 40-byte information header (24 bits, rows bottom-up) and then the rows in
// blue, green, red order, each padded to 4 bytes. GDI takes it as it is.
#ifndef IMAGELIB_PACKED_DIB_H
#define IMAGELIB_PACKED_DIB_H

#include <cstdint>

#include "imagelib/bmp_format.h"
#include "imagelib/entry_work.h"
#include "imagelib/result_block.h"

namespace imagelib {

class PackedDib {
 public:
  // Null pixels or a size of 0 set 5; a block above the largest or no memory set 1.
  PackedDib(EntryWork& work, const void* pixels, int width, int height);

  explicit operator bool() const { return static_cast<bool>(block_); }
  // The information header, which is also a BITMAPINFO without colour table.
  const uint8_t* Header() const { return block_.As<uint8_t>(); }
  const uint8_t* Bits() const { return block_.As<uint8_t>() + kBmpInfoHeaderBytes; }

 private:
  ScratchBlock block_;
};

// The size of the block for an image of that size; larger than the largest
// block when the image cannot have one.
uint64_t PackedDibBytes(int width, int height);

}  // namespace imagelib

#endif
