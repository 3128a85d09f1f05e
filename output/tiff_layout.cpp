#include "output/tiff_layout.h"

#include <cstring>
#include <utility>

namespace {

enum : uint16_t { kShort = 3, kLong = 4, kRational = 5, kByte = 1, kAscii = 2, kUndefined = 7 };

// One 12-byte directory entry; a SHORT value stands in the first two bytes of the value field.
void PutEntry(uint8_t* at, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
  PutLittle16(at, tag);
  PutLittle16(at + 2, type);
  PutLittle32(at + 4, count);
  if (type == kShort && count == 1) PutLittle32(at + 8, value & 0xFFFF);
  else PutLittle32(at + 8, value);
}

// An ASCII entry: the text itself when it takes 4 bytes or fewer with its zero, else its offset.
void PutTextEntry(uint8_t* header, uint8_t* at, uint16_t tag, uint32_t textAt) {
  const char* text = reinterpret_cast<const char*>(header + textAt);
  const uint32_t count = static_cast<uint32_t>(strnlen(text, kTiffTextSize - 1)) + 1;
  PutEntry(at, tag, kAscii, count, textAt);
  if (count <= 4) {
    std::memset(at + 8, 0, 4);
    std::memcpy(at + 8, text, count);
  }
}

void CopyText(uint8_t* to, const char* text) {
  const size_t length = text ? strnlen(text, kTiffTextSize - 1) : 0;
  if (length) std::memcpy(to, text, length);
  to[length] = 0;
}

}  // namespace

void PutLittle16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLittle32(uint8_t* at, uint32_t value) {
  PutLittle16(at, value & 0xFFFF);
  PutLittle16(at + 2, value >> 16);
}

void PutBig16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 8);
  at[1] = static_cast<uint8_t>(value);
}

void PutBig32(uint8_t* at, uint32_t value) {
  PutBig16(at, value >> 16);
  PutBig16(at + 2, value & 0xFFFF);
}

uint32_t GetLittle32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
         static_cast<uint32_t>(at[3]) << 24;
}

uint16_t TiffPhotometric(const TiffHeaderParams& params) {
  if (params.colorMode != 2) return params.bitsPerChannel == 1 ? 0 : 1;
  if (params.bitsPerChannel == 16 && params.zirOutput) return 2;
  if (params.outputCmsMode == 4) return 8;
  return params.outputStaysRgb ? 2 : 5;
}

uint32_t TiffImageOffset(uint32_t profileLength) { return kTiffHeaderWritten + profileLength + (profileLength & 1); }

uint64_t TiffRowBytes(int32_t columns, int32_t samplesPerPixel, int32_t bitsPerChannel) {
  const uint64_t bits = static_cast<uint64_t>(columns) * static_cast<uint64_t>(samplesPerPixel) *
                        static_cast<uint64_t>(bitsPerChannel);
  return (bits + 7) / 8;
}

void BuildTiffHeader(uint8_t* header, const TiffHeaderParams& p) {
  std::memset(header, 0, kTiffHeaderBlockSize);
  PutLittle16(header, 0x4949);
  PutLittle16(header + 2, 42);
  PutLittle32(header + 4, 8);
  const bool profile = p.profileLength != 0;
  PutLittle16(header + 8, profile ? 18 : 17);

  const uint32_t bits = static_cast<uint32_t>(p.bitsPerChannel);
  const uint32_t spp = static_cast<uint32_t>(p.samplesPerPixel);
  for (uint32_t i = 0; i < 4; ++i) PutLittle16(header + kTiffBitsPerSampleAt + 2 * i, bits);
  const uint32_t resolution = static_cast<uint32_t>(p.outputResolution) * 10000u;
  PutLittle32(header + kTiffXResolutionAt, resolution);
  PutLittle32(header + kTiffXResolutionAt + 4, 10000);
  PutLittle32(header + kTiffYResolutionAt, resolution);
  PutLittle32(header + kTiffYResolutionAt + 4, 10000);
  CopyText(header + kTiffDocumentNameAt, p.documentName);
  CopyText(header + kTiffArtistAt, p.artist);

  // The strip holds whole rows: a 1-bit row ends on a byte.
  const uint64_t stripBytes = TiffRowBytes(p.columns, p.samplesPerPixel, p.bitsPerChannel) *
                              static_cast<uint64_t>(p.rows);
  uint8_t* e = header + 10;
  PutEntry(e, 254, kLong, 1, 0);
  PutEntry(e += 12, 256, kShort, 1, static_cast<uint32_t>(p.columns));
  PutEntry(e += 12, 257, kShort, 1, static_cast<uint32_t>(p.rows));
  PutEntry(e += 12, 258, kShort, spp, p.colorMode == 2 ? kTiffBitsPerSampleAt : bits);
  PutEntry(e += 12, 259, kShort, 1, 1);
  PutEntry(e += 12, 262, kShort, 1, TiffPhotometric(p));
  PutEntry(e += 12, 273, kLong, 1, TiffImageOffset(p.profileLength));
  PutEntry(e += 12, 277, kShort, 1, spp);
  PutEntry(e += 12, 278, kLong, 1, static_cast<uint32_t>(p.rows));
  PutEntry(e += 12, 279, kLong, 1, static_cast<uint32_t>(stripBytes));
  PutEntry(e += 12, 282, kRational, 1, kTiffXResolutionAt);
  PutEntry(e += 12, 283, kRational, 1, kTiffYResolutionAt);
  PutEntry(e += 12, 284, kShort, 1, 1);
  PutEntry(e += 12, 296, kShort, 1, 2);
  PutEntry(e += 12, 34377, kByte, 0, 0);
  PutTextEntry(header, e += 12, 269, kTiffDocumentNameAt);
  PutTextEntry(header, e += 12, 315, kTiffArtistAt);
  if (profile) PutEntry(e += 12, 34675, kUndefined, p.profileLength, kTiffHeaderWritten);
}

uint32_t RemoveResourceEntry(uint8_t* header) {
  const uint32_t entries = static_cast<uint32_t>(header[8] | header[9] << 8);
  const uint32_t nextAt = 10 + 12 * entries;
  const uint32_t next = GetLittle32(header + nextAt);
  std::memmove(header + kTiffResourceCountAt - 4, header + kTiffResourceCountAt + 8, 12 * (entries - 15));
  PutLittle16(header + 8, entries - 1);
  PutLittle32(header + nextAt - 12, next);
  PutLittle32(header + nextAt, 0);
  return nextAt - 12;
}

uint32_t PreviewStripBytes(int32_t width, int32_t height, bool rgb, int32_t bitsPerChannel) {
  return static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * (bitsPerChannel == 16 ? 2u : 1u) *
         (rgb ? 3u : 1u);
}

void BuildPreviewIfd(uint8_t* ifd, uint32_t at, int32_t width, int32_t height, bool rgb, int32_t bitsPerChannel) {
  std::memset(ifd, 0, kPreviewIfdSize);
  const uint32_t bits = static_cast<uint32_t>(bitsPerChannel);
  PutLittle16(ifd, 14);
  uint8_t* e = ifd + 2;
  PutEntry(e, 254, kLong, 1, 1);
  PutEntry(e += 12, 256, kShort, 1, static_cast<uint32_t>(width));
  PutEntry(e += 12, 257, kShort, 1, static_cast<uint32_t>(height));
  PutEntry(e += 12, 258, kShort, rgb ? 3 : 1, rgb ? at + kPreviewBitsPerSampleAt : bits);
  PutEntry(e += 12, 259, kShort, 1, 1);
  PutEntry(e += 12, 262, kShort, 1, rgb ? 2 : 1);
  PutEntry(e += 12, 273, kLong, 1, at + kPreviewIfdSize);
  PutEntry(e += 12, 277, kShort, 1, rgb ? 3 : 1);
  PutEntry(e += 12, 278, kLong, 1, static_cast<uint32_t>(height));
  PutEntry(e += 12, 279, kLong, 1, PreviewStripBytes(width, height, rgb, bitsPerChannel));
  PutEntry(e += 12, 282, kRational, 1, at + kPreviewXResolutionAt);
  PutEntry(e += 12, 283, kRational, 1, at + kPreviewYResolutionAt);
  PutEntry(e += 12, 284, kShort, 1, 1);
  PutEntry(e += 12, 296, kShort, 1, 2);
  // The next-directory field stays 0; 72 dpi; three bits-per-sample values.
  for (uint32_t r : {kPreviewXResolutionAt, kPreviewYResolutionAt}) {
    PutLittle32(ifd + r, 720000);
    PutLittle32(ifd + r + 4, 10000);
  }
  for (uint32_t i = 0; i < 3; ++i) PutLittle16(ifd + kPreviewBitsPerSampleAt + 2 * i, bits);
}

void SwapThumbnailHeader(ThumbnailHeader* header) {
  uint8_t bytes[sizeof(ThumbnailHeader)];
  std::memcpy(bytes, header, sizeof bytes);
  for (size_t i = 0; i < 24; i += 4) {
    std::swap(bytes[i], bytes[i + 3]);
    std::swap(bytes[i + 1], bytes[i + 2]);
  }
  for (size_t i = 24; i < 28; i += 2) std::swap(bytes[i], bytes[i + 1]);
  std::memcpy(header, bytes, sizeof bytes);
}

ThumbnailHeader MakeThumbnailHeader(uint32_t width, uint32_t height) {
  ThumbnailHeader header{};
  header.format = 1;
  header.width = width;
  header.height = height;
  header.rowBytes = (width * 24 + 31) / 32 * 4;
  header.totalSize = header.rowBytes * height;
  header.bitsPerPixel = 24;
  header.planes = 1;
  return header;
}

std::vector<uint8_t> MakeResourceBlock(uint16_t id, const uint8_t* name, const uint8_t* data, uint32_t size) {
  const uint32_t nameBytes = name ? name[0] + 1u : 1u;
  std::vector<uint8_t> block(4 + 2 + nameBytes + (nameBytes & 1) + 4);
  std::memcpy(block.data(), "8BIM", 4);
  PutBig16(block.data() + 4, id);
  if (name) std::memcpy(block.data() + 6, name, nameBytes);
  PutBig32(block.data() + block.size() - 4, size);
  if (size) block.insert(block.end(), data, data + size);
  if (size & 1) block.push_back(0);
  return block;
}
