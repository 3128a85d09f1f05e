#include "imagelib/bmp_file.h"

#include <algorithm>
#include <climits>

#include "imagelib/result_block.h"

namespace imagelib {

bool BmpFile::ReadHeaders() {
  uint8_t bytes[kBmpHeadersBytes];
  if (!ReadExact(bytes, kBmpFileHeaderBytes)) return Fail(kImageReadFailed);
  if (bytes[bmp_offset::kSignature] != 'B' || bytes[bmp_offset::kSignature + 1] != 'M') return Fail(kImageNotBmp);
  if (!ReadExact(bytes + kBmpFileHeaderBytes, kBmpInfoHeaderBytes)) return Fail(kImageReadFailed);
  DecodeBmpHeaders(bytes, &headers_);
  // A height of INT32_MIN has no magnitude; a height of 0 no rows.
  if (headers_.width <= 0 || headers_.height == 0 || headers_.height == INT32_MIN) return Fail(kImageNotBmp);
  return true;
}

bool BmpFile::ReadMasks(BmpMasks* masks) {
  uint8_t bytes[kBmpMasksBytes];
  if (!ReadExact(bytes, sizeof bytes)) return Fail(kImageReadFailed);
  *masks = {LoadLe32(bytes), LoadLe32(bytes + 4), LoadLe32(bytes + 8)};
  return true;
}

bool BmpFile::ReadTable(uint32_t entries, PaletteEntry* table) {
  uint8_t bytes[kPaletteEntries * kBmpTableEntryBytes];
  entries = std::min<uint32_t>(entries, kPaletteEntries);
  if (!ReadExact(bytes, entries * kBmpTableEntryBytes)) return Fail(kImageReadFailed);
  for (uint32_t i = 0; i < entries; ++i) {
    const uint8_t* entry = bytes + i * kBmpTableEntryBytes;
    table[i] = {entry[0], entry[1], entry[2], entry[3]};
  }
  return true;
}

bool BmpFile::MoveToPixels(bool seek_back) {
  uint64_t offset = headers_.data_offset;
  if (offset < consumed_) {
    if (!seek_back) return Fail(kImageNotBmp);
    if (!stream_.Seek(start_ + static_cast<long>(offset), 0)) return Fail(kImageNotBmp);
    consumed_ = offset;
    return true;
  }
  uint8_t scrap[4096];
  while (consumed_ < offset) {
    uint32_t chunk = static_cast<uint32_t>(std::min<uint64_t>(sizeof scrap, offset - consumed_));
    if (!ReadExact(scrap, chunk)) return Fail(kImageNotBmp);
  }
  return true;
}

bool BmpFile::ReadExact(void* buffer, uint32_t count) {
  if (!stream_.ReadExact(buffer, count)) return false;
  consumed_ += count;
  return true;
}

uint32_t BmpFile::ReadSome(void* buffer, uint32_t count) {
  uint32_t got = stream_.Read(buffer, count);
  consumed_ += got;
  return got;
}

uint32_t BmpFile::ColorCount() const {
  if (headers_.colors_used) return headers_.colors_used;
  return headers_.bits > 31 ? 0 : 1u << headers_.bits;
}

void* BmpFile::AllocatePixels(uint64_t bytes) {
  void* pixels = AllocateBlock(bytes);
  if (!pixels) Fail(kImageNoMemory);
  return pixels;
}

}  // namespace imagelib
