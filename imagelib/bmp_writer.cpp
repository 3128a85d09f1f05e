// Writing bitmap files: 1, 4, 8 and 24 bits uncompressed, and 8 bits RLE8.
#include <algorithm>
#include <cstring>

#include "imagelib/bmp_format.h"
#include "imagelib/codecs.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

uint64_t PackedRowBytes(int width, int bits) {
  uint64_t w = static_cast<uint64_t>(width);
  switch (bits) {
    case 1: return (w + 7) / 8;
    case 4: return (w + 1) / 2;
    case 8: return w;
    default: return w * 3;
  }
}

class BmpWriter {
 public:
  BmpWriter(EntryWork& work, IoStream& sink, const uint8_t* pixels, int width, int height, int bits, int colors,
            const PaletteEntry* palette)
      : work_(work), sink_(sink), pixels_(pixels), width_(width), height_(height), bits_(bits),
        colors_(bits == 24 ? 0 : colors), palette_(palette) {}

  bool WriteUncompressed() {
    uint64_t stride = BmpStride(width_, bits_);
    uint64_t image_size = stride * static_cast<uint64_t>(height_);
    if (DataOffset() + image_size > UINT32_MAX) return Fail(kImageBadArgument);
    if (!WriteHeaders(static_cast<uint32_t>(DataOffset() + image_size), kBmpRgb,
                      static_cast<uint32_t>(image_size)))
      return false;
    ScratchBlock row(stride);
    if (!row) return Fail(kImageNoMemory);
    uint64_t packed = PackedRowBytes(width_, bits_);
    for (int written = 0; written < height_; ++written) {
      uint8_t* out = row.As<uint8_t>();
      std::memcpy(out, SourceRow(height_ - 1 - written), static_cast<size_t>(packed));
      if (bits_ == 24)
        for (uint64_t x = 0; x < packed; x += 3) std::swap(out[x], out[x + 2]);
      if (!Write(out, stride)) return false;
      if (!work_.Progress(written + 1, height_)) return false;
    }
    return true;
  }

  bool WriteRle8() {
    long start = sink_.Tell();
    if (!WriteHeaders(0, kBmpRle8, 0)) return false;
    uint64_t scan = static_cast<uint64_t>(width_) + (width_ & 1);
    ScratchBlock row(scan);
    ScratchBlock code(2 * scan + 4);  // at worst two bytes a pixel, then the row's end
    if (!row || !code) return Fail(kImageNoMemory);
    uint64_t rle_bytes = 0;
    for (int written = 0; written < height_; ++written) {
      std::memcpy(row.As<uint8_t>(), SourceRow(height_ - 1 - written), static_cast<size_t>(width_));
      uint64_t n = EncodeRow(row.As<uint8_t>(), scan, code.As<uint8_t>());
      if (!Write(code.As<uint8_t>(), n)) return false;
      rle_bytes += n;
      if (!work_.Progress(written + 1, height_)) return false;
    }
    const uint8_t end[2] = {0, kBmpRle8};
    if (!Write(end, sizeof end)) return false;
    uint64_t file_size = rle_bytes + 4 * static_cast<uint64_t>(colors_) + kBmpHeadersBytes + 2;
    if (!Patch(start + static_cast<long>(bmp_offset::kFileSize), static_cast<uint32_t>(file_size)) ||
        !Patch(start + static_cast<long>(bmp_offset::kImageSize), static_cast<uint32_t>(rle_bytes + 2)))
      return false;
    // The stream is left after the file, as an uncompressed one leaves it.
    return sink_.Seek(0, 2) || Fail(kImageWriteFailed);
  }

 private:
  uint64_t DataOffset() const { return kBmpHeadersBytes + kBmpTableEntryBytes * static_cast<uint64_t>(colors_); }

  const uint8_t* SourceRow(int y) const { return pixels_ + PackedRowBytes(width_, bits_) * y; }

  bool WriteHeaders(uint32_t file_size, BmpCompression compression, uint32_t image_size) {
    BmpHeaders h;
    h.file_size = file_size;
    h.data_offset = static_cast<uint32_t>(DataOffset());
    h.width = width_;
    h.height = height_;
    h.bits = static_cast<uint16_t>(bits_);
    h.compression = compression;
    h.image_size = image_size;
    h.colors_used = h.colors_important = static_cast<uint32_t>(colors_);
    uint8_t bytes[kBmpHeadersBytes];
    EncodeBmpHeaders(h, bytes);
    if (!Write(bytes, sizeof bytes)) return false;
    for (int i = 0; i < colors_; ++i) {
      const uint8_t entry[kBmpTableEntryBytes] = {palette_[i].blue, palette_[i].green, palette_[i].red, 0};
      if (!Write(entry, sizeof entry)) return false;
    }
    return true;
  }

  // Stretches of three or more bytes that each differ from the one before go
  // in absolute mode, everything else as runs of one value.
  static uint64_t EncodeRow(const uint8_t* row, uint64_t length, uint8_t* out) {
    uint8_t* start = out;
    uint64_t i = 0;
    while (i < length) {
      uint64_t j = i + 1;
      while (j < length && j - i < 255 && row[j] != row[j - 1]) ++j;
      uint64_t stretch = j - i;
      if (stretch > 2) {
        *out++ = 0;
        *out++ = static_cast<uint8_t>(stretch);
        std::memcpy(out, row + i, static_cast<size_t>(stretch));
        out += stretch;
        if (stretch % 2) *out++ = 0;
        i = j;
        continue;
      }
      uint64_t run = 1;
      while (i + run < length && run < 255 && row[i + run] == row[i]) ++run;
      *out++ = static_cast<uint8_t>(run);
      *out++ = row[i];
      i += run;
    }
    *out++ = 0;
    *out++ = 0;
    return static_cast<uint64_t>(out - start);
  }

  bool Patch(long offset, uint32_t value) {
    uint8_t bytes[4];
    StoreLe32(bytes, value);
    if (!sink_.Seek(offset, 0)) return Fail(kImageWriteFailed);
    return Write(bytes, sizeof bytes);
  }

  bool Write(const void* data, uint64_t bytes) {
    return sink_.WriteBlock(data, static_cast<uint32_t>(bytes)) || Fail(kImageWriteFailed);
  }

  bool Fail(int code) {
    work_.error = code;
    return false;
  }

  EntryWork& work_;
  IoStream& sink_;
  const uint8_t* pixels_;
  int width_;
  int height_;
  int bits_;
  int colors_;
  const PaletteEntry* palette_;
};

bool ValidColors(int bits, int colors, const PaletteEntry* palette) {
  if (bits == 24) return true;
  if (bits != 1 && bits != 4 && bits != 8) return false;
  return palette && colors >= 1 && colors <= (1 << bits);
}

}  // namespace

bool WriteBmpImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   int colors, const PaletteEntry* palette, int rle) {
  bool rle8 = rle == 1;
  if (width < 1 || height < 1 || !ValidColors(bits, colors, palette) || (rle8 && bits != 8)) {
    work.error = kImageBadArgument;
    return false;
  }
  BmpWriter writer(work, sink, static_cast<const uint8_t*>(pixels), width, height, bits, colors, palette);
  if (!(rle8 ? writer.WriteRle8() : writer.WriteUncompressed())) return false;
  return sink.Size() > 0;
}

}  // namespace imagelib
