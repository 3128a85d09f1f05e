// Reading bitmap files as R, G, B pixels, as 8-bit indexes or as packed
// 1-bit rows, with the caller's palette for the last two.
#include <algorithm>
#include <cstring>

#include "imagelib/bmp_file.h"
#include "imagelib/codecs.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

bool IsRle(const BmpHeaders& h) {
  return (h.compression == kBmpRle4 && h.bits == 4) || (h.compression == kBmpRle8 && h.bits == 8);
}

// Reads the stored rows one by one and hands each to convert(row, k) with
// k counting the file rows. A short row or a stop ends the loop; the buffer
// filled so far stays the caller's.
template <typename Convert>
void ReadRows(BmpFile& file, Convert convert) {
  const BmpHeaders& h = file.headers();
  uint64_t stride = BmpStride(h.width, h.bits);
  ScratchBlock row(stride);
  if (!row) {
    file.Fail(kImageNoMemory);
    return;
  }
  int rows = file.Rows();
  for (int k = 0; k < rows; ++k) {
    if (!file.work().Progress(k, rows)) return;
    if (!file.ReadExact(row.As<uint8_t>(), static_cast<uint32_t>(stride))) {
      file.Fail(kImageReadFailed);
      return;
    }
    convert(row.As<uint8_t>(), file.TopDown() ? k : rows - 1 - k);
  }
}

void* ReadAsRgb(BmpFile& file, int* width, int* height) {
  const BmpHeaders& h = file.headers();
  PaletteEntry table[kPaletteEntries] = {};
  if (IsRle(h)) {
    if (!file.ReadTable(file.ColorCount(), table)) return nullptr;
    return DecodeBmpRle(file, table, 24, width, height);
  }
  if (h.compression > kBmpBitFields || h.compression == kBmpRle4 || h.compression == kBmpRle8) {
    file.Fail(kImageNotBmp);
    return nullptr;
  }
  BmpMasks masks = {};
  if (h.compression == kBmpBitFields && !file.ReadMasks(&masks)) return nullptr;
  switch (h.bits) {
    case 1: case 4: case 8:
      if (!file.ReadTable(file.ColorCount(), table)) return nullptr;
      break;
    case 16:
      // A 16-bit file has a table only when it says how many colours it holds.
      if (!file.ReadTable(h.colors_used, table)) return nullptr;
      break;
    case 24: case 32:
      break;
    default:
      file.Fail(kImageNotBmp);
      return nullptr;
  }
  if (!file.MoveToPixels(true)) return nullptr;
  uint64_t row_bytes = static_cast<uint64_t>(h.width) * 3;
  auto* pixels = static_cast<uint8_t*>(file.AllocatePixels(row_bytes * file.Rows()));
  if (!pixels) return nullptr;
  *width = h.width;
  *height = file.Rows();
  const BmpMasks* used_masks = h.compression == kBmpBitFields ? &masks : nullptr;
  ReadRows(file, [&](const uint8_t* row, int y) {
    ConvertBmpRow(row, h.width, h.bits, table, used_masks, pixels + row_bytes * y, -1);
  });
  return pixels;
}

void* ReadAsIndexes(BmpFile& file, int bits, int* width, int* height, PaletteEntry* palette) {
  const BmpHeaders& h = file.headers();
  if (h.bits > 8 || h.bits > bits) {
    file.Fail(kImageUnsupported);
    return nullptr;
  }
  if (h.bits != 1 && h.bits != 4 && h.bits != 8) {
    file.Fail(kImageNotBmp);
    return nullptr;
  }
  uint32_t colors = std::min<uint32_t>(file.ColorCount(), kPaletteEntries);
  if (!file.ReadTable(colors, palette)) return nullptr;
  std::fill(palette + colors, palette + kPaletteEntries, palette[0]);
  if (IsRle(h)) return DecodeBmpRle(file, palette, 8, width, height);
  if (h.compression != kBmpRgb) {
    file.Fail(kImageNotBmp);
    return nullptr;
  }
  if (!file.MoveToPixels(false)) return nullptr;
  uint64_t row_bytes = bits == 1 ? (static_cast<uint64_t>(h.width) + 7) / 8 : static_cast<uint64_t>(h.width);
  auto* pixels = static_cast<uint8_t*>(file.AllocatePixels(static_cast<uint64_t>(h.width) * file.Rows()));
  if (!pixels) return nullptr;
  *width = h.width;
  *height = file.Rows();
  ReadRows(file, [&](const uint8_t* row, int y) {
    uint8_t* out = pixels + row_bytes * y;
    if (bits == 1)
      std::memcpy(out, row, static_cast<size_t>(row_bytes));
    else
      ExpandBmpIndexes(row, h.width, h.bits, out);
  });
  return pixels;
}

}  // namespace

void* ReadBmpImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette) {
  if (bits != 24 && !palette) {
    work.error = kImageBadArgument;
    return nullptr;
  }
  BmpFile file(work, stream);
  if (!file.ReadHeaders()) return nullptr;
  return bits == 24 ? ReadAsRgb(file, width, height) : ReadAsIndexes(file, bits, width, height, palette);
}

}  // namespace imagelib
