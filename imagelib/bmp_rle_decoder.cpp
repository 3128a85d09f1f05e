// RLE8 and RLE4 pixel data: a byte-wise state machine of encoded runs and
// escapes (end of line, end of bitmap, delta, absolute run). Pieces are
// clipped to the image; rows and columns moved off it write nothing.
#include <algorithm>
#include <cstring>

#include "imagelib/bmp_file.h"

namespace imagelib {

namespace {

enum RleEscape : uint8_t { kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2 };

class RleDecoder {
 public:
  RleDecoder(BmpFile& file, const PaletteEntry* table, int out_bits, uint8_t* pixels)
      : file_(file),
        table_(table),
        out_bits_(out_bits),
        pixels_(pixels),
        width_(file.headers().width),
        height_(file.Rows()),
        nibbles_(file.headers().bits == 4),
        row_(height_ - 1) {}

  // The data ended before the end of the bitmap: 3; a stop: 14. Every run,
  // escape and padded absolute run is an even number of bytes, so each count
  // byte lies at an even offset from the start of the data, where a zero
  // starts an escape.
  void Run() {
    for (;;) {
      uint8_t count, value;
      if (!Next(&count)) return;
      if (count == 0) {
        if (!Next(&value)) return;
        if (value == kEndOfBitmap) return;
        if (!Escape(value)) return;
        continue;
      }
      if (!Next(&value)) return;
      for (int i = 0; i < count; ++i) run_[i] = nibbles_ ? Nibble(value, i) : value;
      Put(count);
    }
  }

 private:
  static uint8_t Nibble(uint8_t byte, int i) { return i % 2 == 0 ? byte >> 4 : byte & 0x0F; }

  bool Escape(uint8_t code) {
    if (code == kEndOfLine) return MoveTo(row_ - 1, 0);
    if (code == kDelta) {
      uint8_t dx, dy;
      if (!Next(&dx) || !Next(&dy)) return false;
      return MoveTo(row_ - dy, column_ + dx);
    }
    // An absolute run of code pixels, its bytes padded to an even count.
    int bytes = nibbles_ ? (code + 1) / 2 : code;
    uint8_t byte = 0;
    for (int i = 0; i < code; ++i) {
      if ((!nibbles_ || i % 2 == 0) && !Next(&byte)) return false;
      run_[i] = nibbles_ ? Nibble(byte, i) : byte;
    }
    if (bytes % 2 == 1 && !Next(&byte)) return false;
    Put(code);
    return true;
  }

  bool MoveTo(int64_t row, int64_t column) {
    bool moved = row != row_;
    row_ = row;
    column_ = column;
    if (!moved) return true;
    int64_t done = std::min<int64_t>(height_, height_ - 1 - row_);
    return file_.work().Progress(static_cast<int>(done), height_);
  }

  void Put(int count) {
    if (row_ >= 0 && column_ < width_) {
      int n = static_cast<int>(std::min<int64_t>(count, width_ - column_));
      uint64_t at = static_cast<uint64_t>(row_) * width_ + static_cast<uint64_t>(column_);
      if (out_bits_ == 8)
        std::memcpy(pixels_ + at, run_, static_cast<size_t>(n));
      else
        ConvertBmpRow(run_, n, 8, table_, nullptr, pixels_ + at * 3, -1);
    }
    column_ += count;
  }

  bool Next(uint8_t* byte) {
    if (next_ == end_) {
      end_ = file_.ReadSome(buffer_, sizeof buffer_);
      next_ = 0;
      if (end_ == 0) return file_.Fail(kImageReadFailed);
    }
    *byte = buffer_[next_++];
    return true;
  }

  BmpFile& file_;
  const PaletteEntry* table_;
  int out_bits_;
  uint8_t* pixels_;
  int width_;
  int height_;
  bool nibbles_;
  int64_t row_;
  int64_t column_ = 0;
  uint8_t run_[256];
  uint8_t buffer_[4096];
  uint32_t next_ = 0;
  uint32_t end_ = 0;
};

}  // namespace

void* DecodeBmpRle(BmpFile& file, const PaletteEntry* table, int out_bits, int* width, int* height) {
  const BmpHeaders& h = file.headers();
  // Compressed rows are always stored bottom-up.
  if (file.TopDown()) {
    file.Fail(kImageNotBmp);
    return nullptr;
  }
  if (!file.MoveToPixels(false)) return nullptr;
  uint64_t count = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
  auto* pixels = static_cast<uint8_t*>(file.AllocatePixels(out_bits == 24 ? count * 3 : count));
  if (!pixels) return nullptr;
  // Pixels that no run reaches show the table's first colour.
  if (out_bits == 24) {
    const uint8_t first[3] = {table[0].red, table[0].green, table[0].blue};
    std::memcpy(pixels, first, 3);
    for (uint64_t filled = 3, total = count * 3; filled < total; filled *= 2)
      std::memcpy(pixels + filled, pixels, static_cast<size_t>(std::min(filled, total - filled)));
  }
  *width = h.width;
  *height = h.height;
  RleDecoder(file, table, out_bits, pixels).Run();
  return pixels;
}

}  // namespace imagelib
