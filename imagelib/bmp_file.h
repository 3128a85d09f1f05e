// A bitmap file being read from the stream's position on: its headers, masks
// and colour table, and the way to its pixel data. Failures leave their code
// in the work and answer false.
#ifndef IMAGELIB_BMP_FILE_H
#define IMAGELIB_BMP_FILE_H

#include <cstdint>

#include "imagelib/bmp_format.h"
#include "imagelib/bmp_rows.h"
#include "imagelib/entry_work.h"
#include "imagelib/io_stream.h"

namespace imagelib {

class BmpFile {
 public:
  BmpFile(EntryWork& work, IoStream& stream) : work_(work), stream_(stream), start_(stream.Tell()) {}

  // Both headers; a file cut short gives 3, one that is no usable bitmap 6.
  bool ReadHeaders();
  bool ReadMasks(BmpMasks* masks);
  // Reads that many colour-table entries into the front of a 256-entry table.
  bool ReadTable(uint32_t entries, PaletteEntry* table);
  // Moves to the pixel data, reading and dropping the bytes before it. An
  // offset inside what was read is sought when seek_back allows, else refused.
  bool MoveToPixels(bool seek_back);

  bool ReadExact(void* buffer, uint32_t count);
  // Up to count bytes; fewer at the end of the data.
  uint32_t ReadSome(void* buffer, uint32_t count);

  // Colours used, 0 meaning 1 << bits; no colours above 31 bits.
  uint32_t ColorCount() const;
  const BmpHeaders& headers() const { return headers_; }
  int Rows() const { return headers_.height < 0 ? -headers_.height : headers_.height; }
  bool TopDown() const { return headers_.height < 0; }

  // A pixel buffer of that many bytes; none sets 1.
  void* AllocatePixels(uint64_t bytes);

  bool Fail(int code) {
    work_.error = code;
    return false;
  }
  EntryWork& work() { return work_; }

 private:
  EntryWork& work_;
  IoStream& stream_;
  long start_;
  uint64_t consumed_ = 0;
  BmpHeaders headers_;
};

// Decodes RLE8 or RLE4 pixel data that follows the colour table into
// 8-bit indexes (out_bits 8) or R, G, B (24). The buffer comes back also
// when the data ends early or the caller stops, with the code set.
void* DecodeBmpRle(BmpFile& file, const PaletteEntry* table, int out_bits, int* width, int* height);

}  // namespace imagelib

#endif
