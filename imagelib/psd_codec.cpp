// The flat image of PSD files: bitmap, grey, indexed, duotone, RGB and CMYK
// at 1 or 8 bits per channel, raw or PackBits; written raw as 8-bit RGB or
// indexed, with empty resources and layers.
#include <cstring>

#include "imagelib/byte_reader.h"
#include "imagelib/codecs.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

enum PsdMode { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kDuotone = 8 };
enum PsdCompression { kRaw = 0, kPackBits = 1 };
constexpr uint32_t kPaletteBytes = 768;

struct PsdHeader {
  uint16_t channels;
  uint32_t height;
  uint32_t width;
  uint16_t depth;
  uint16_t mode;
};

// Channels each mode reads; 0 for modes the reader does not know.
uint16_t ChannelsOfMode(uint16_t mode) {
  switch (mode) {
    case kBitmap:
    case kGrey:
    case kIndexed:
    case kDuotone:
      return 1;
    case kRgb:
      return 3;
    case kCmyk:
      return 4;
    default:
      return 0;
  }
}

// The header through the layer section; the palette from the colour-mode data.
class PsdReader {
 public:
  PsdReader(EntryWork& work, IoStream& stream) : work_(work), stream_(stream), in_(stream) {}

  bool ReadHeader();
  bool ReadSections(PaletteEntry (&palette)[256]);
  void* ReadRgb();
  void* ReadCmyk();
  // One channel of grey values or indexes, or bitmap pixels as 0 and 1.
  void* ReadSingleChannel(bool as_indexes, const PaletteEntry (&palette)[256]);

  const PsdHeader& header() const { return header_; }

 private:
  bool Fail(int code) {
    work_.error = code;
    return false;
  }
  uint32_t RowBytes() const { return header_.depth == 1 ? (header_.width + 7) / 8 : header_.width; }
  // Reads `wanted` channels row by row; each row goes to place(channel, row, bytes).
  template <typename Place>
  bool ReadChannels(uint16_t wanted, int progress_total, Place place);

  EntryWork& work_;
  IoStream& stream_;
  ByteReader in_;
  PsdHeader header_ = {};
  uint16_t compression_ = kRaw;
};

bool PsdReader::ReadHeader() {
  uint8_t b[26];
  if (!in_.Bytes(b, sizeof b)) return Fail(kImageReadFailed);
  if (std::memcmp(b, "8BPS", 4) != 0 || BigEndian16(b + 4) != 1) return Fail(kImageNotPsd);
  header_ = {BigEndian16(b + 12), BigEndian32(b + 14), BigEndian32(b + 18), BigEndian16(b + 22),
             BigEndian16(b + 24)};
  const uint16_t needed = ChannelsOfMode(header_.mode);
  const bool depth_fits = header_.depth == 1 ? header_.mode == kBitmap : header_.depth == 8 && header_.mode != kBitmap;
  if (!depth_fits || needed == 0 || header_.channels < needed || header_.width == 0 || header_.height == 0)
    return Fail(kImageBadPsdMode);
  return true;
}

bool PsdReader::ReadSections(PaletteEntry (&palette)[256]) {
  for (int i = 0; i < 256; ++i) {
    const uint8_t v = static_cast<uint8_t>(i);
    palette[i] = PaletteEntry{v, v, v, 0};
  }
  uint8_t word[4];
  if (!in_.Bytes(word, 4)) return Fail(kImageReadFailed);
  uint32_t length = BigEndian32(word);
  // Too short a colour table leaves the grey ramp.
  if (header_.mode <= kIndexed && length >= kPaletteBytes) {
    uint8_t table[kPaletteBytes];
    if (!in_.Bytes(table, sizeof table)) return Fail(kImageReadFailed);
    for (int i = 0; i < 256; ++i) palette[i] = PaletteEntry{table[512 + i], table[256 + i], table[i], 0};
    length -= kPaletteBytes;
  }
  if (!in_.Skip(length)) return Fail(kImageReadFailed);
  for (int section = 0; section < 2; ++section) {  // image resources, layers and masks
    if (!in_.Bytes(word, 4) || !in_.Skip(BigEndian32(word))) return Fail(kImageReadFailed);
  }
  if (!in_.Bytes(word, 2)) return Fail(kImageReadFailed);
  compression_ = BigEndian16(word);
  if (compression_ != kRaw && compression_ != kPackBits) return Fail(kImageReadFailed);
  if (header_.mode == kBitmap && compression_ == kRaw) return Fail(kImageBadPsdMode);
  return true;
}

// PackBits: n >= 0 copies n + 1 bytes, -127..-1 repeats the next byte 1 - n
// times, -128 is nothing. The row must come out whole and nothing may pass it.
bool UnpackBits(const uint8_t* in, uint32_t in_size, uint8_t* out, uint32_t out_size) {
  uint32_t i = 0, o = 0;
  while (i < in_size) {
    const int n = static_cast<int8_t>(in[i++]);
    if (n == -128) continue;
    if (n >= 0) {
      const uint32_t count = static_cast<uint32_t>(n) + 1;
      if (count > in_size - i || count > out_size - o) return false;
      std::memcpy(out + o, in + i, count);
      i += count;
      o += count;
    } else {
      const uint32_t count = static_cast<uint32_t>(1 - n);
      if (i >= in_size || count > out_size - o) return false;
      std::memset(out + o, in[i++], count);
      o += count;
    }
  }
  return o == out_size;
}

template <typename Place>
bool PsdReader::ReadChannels(uint16_t wanted, int progress_total, Place place) {
  const uint32_t height = header_.height, row_bytes = RowBytes();
  ScratchBlock row(row_bytes);
  ScratchBlock counts(compression_ == kPackBits ? static_cast<uint64_t>(wanted) * height * 2 : 1);
  // A PackBits row of n bytes takes at most n + n / 128 + 1 bytes.
  ScratchBlock packed(compression_ == kPackBits ? 2 * static_cast<uint64_t>(row_bytes) + 2 : 1);
  if (!row || !counts || !packed) return Fail(kImageNoMemory);
  if (compression_ == kPackBits) {
    uint8_t* table = counts.As<uint8_t>();
    const uint64_t wanted_bytes = static_cast<uint64_t>(wanted) * height * 2;
    if (!in_.Bytes(table, static_cast<uint32_t>(wanted_bytes)) ||
        !in_.Skip(static_cast<uint64_t>(header_.channels - wanted) * height * 2))
      return Fail(kImageReadFailed);
    uint64_t total = 0;
    for (uint64_t i = 0; i < wanted_bytes; i += 2) total += BigEndian16(table + i);
    // Byte counts that reach past the end of the file.
    const long here = in_.Tell(), size = stream_.Size();
    if (here < 0 || size < here || total > static_cast<uint64_t>(size - here)) return Fail(kImageReadFailed);
  }
  int done = 0;
  for (uint16_t channel = 0; channel < wanted; ++channel) {
    for (uint32_t y = 0; y < height; ++y) {
      uint8_t* bytes = row.As<uint8_t>();
      if (compression_ == kRaw) {
        if (!in_.Bytes(bytes, row_bytes)) return Fail(kImageReadFailed);
      } else {
        const uint32_t size = BigEndian16(counts.As<uint8_t>() + 2 * (static_cast<uint64_t>(channel) * height + y));
        if (size > 2 * row_bytes + 2 || !in_.Bytes(packed.As<uint8_t>(), size) ||
            !UnpackBits(packed.As<uint8_t>(), size, bytes, row_bytes))
          return Fail(kImageReadFailed);
      }
      place(channel, y, bytes);
      if (!work_.Progress(done++, progress_total)) return false;
    }
  }
  return true;
}

uint64_t PixelCount(const PsdHeader& header) { return static_cast<uint64_t>(header.width) * header.height; }

void* PsdReader::ReadRgb() {
  ScratchBlock buffer(PixelCount(header_) * 3);
  if (!buffer) return Fail(kImageNoMemory), nullptr;
  uint8_t* out = buffer.As<uint8_t>();
  const uint32_t width = header_.width;
  const bool ok = ReadChannels(3, static_cast<int>(3 * header_.height), [&](uint16_t c, uint32_t y, const uint8_t* row) {
    uint8_t* p = out + static_cast<size_t>(y) * width * 3 + c;
    for (uint32_t x = 0; x < width; ++x, p += 3) *p = row[x];
  });
  return ok ? buffer.Release() : nullptr;
}

// C, M and Y land where red, green and blue go; K then scales each of them.
void* PsdReader::ReadCmyk() {
  ScratchBlock buffer(PixelCount(header_) * 3);
  if (!buffer) return Fail(kImageNoMemory), nullptr;
  uint8_t* out = buffer.As<uint8_t>();
  const uint32_t width = header_.width;
  const bool ok = ReadChannels(4, static_cast<int>(header_.height), [&](uint16_t c, uint32_t y, const uint8_t* row) {
    uint8_t* p = out + static_cast<size_t>(y) * width * 3;
    if (c < 3) {
      for (uint32_t x = 0; x < width; ++x) p[3 * x + c] = row[x];
      return;
    }
    for (uint32_t x = 0; x < width * 3; ++x) p[x] = static_cast<uint8_t>(p[x] * row[x / 3] / 255);
  });
  return ok ? buffer.Release() : nullptr;
}

void* PsdReader::ReadSingleChannel(bool as_indexes, const PaletteEntry (&palette)[256]) {
  const size_t out_bytes = as_indexes ? 1 : 3;
  ScratchBlock buffer(PixelCount(header_) * out_bytes);
  if (!buffer) return Fail(kImageNoMemory), nullptr;
  uint8_t* out = buffer.As<uint8_t>();
  const uint32_t width = header_.width;
  const bool bitmap = header_.mode == kBitmap;
  const bool ok = ReadChannels(1, static_cast<int>(header_.height), [&](uint16_t, uint32_t y, const uint8_t* row) {
    uint8_t* p = out + static_cast<size_t>(y) * width * out_bytes;
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t value = bitmap ? (row[x / 8] >> (7 - x % 8) & 1) : row[x];
      if (as_indexes) {
        *p++ = value;
      } else if (bitmap) {
        value = value ? 0 : 255;
        *p++ = value;
        *p++ = value;
        *p++ = value;
      } else {
        *p++ = palette[value].red;
        *p++ = palette[value].green;
        *p++ = palette[value].blue;
      }
    }
  });
  return ok ? buffer.Release() : nullptr;
}

bool WriteHeader(IoStream& sink, uint16_t channels, int width, int height, uint16_t mode) {
  uint8_t b[26] = {'8', 'B', 'P', 'S'};
  PutBigEndian16(b + 4, 1);
  PutBigEndian16(b + 12, channels);
  PutBigEndian32(b + 14, static_cast<uint32_t>(height));
  PutBigEndian32(b + 18, static_cast<uint32_t>(width));
  PutBigEndian16(b + 22, 8);
  PutBigEndian16(b + 24, mode);
  return sink.WriteBlock(b, sizeof b);
}

// Empty resources and layers, raw data.
bool WriteEmptySections(IoStream& sink) {
  const uint8_t b[10] = {};
  return sink.WriteBlock(b, sizeof b);
}

}  // namespace

void* ReadPsdImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette) {
  PsdReader reader(work, stream);
  if (!reader.ReadHeader()) return nullptr;
  const PsdHeader& header = reader.header();
  const uint16_t mode = header.mode;
  if (bits == 8 && !palette) {
    work.error = kImageBadArgument;
    return nullptr;
  }
  if (bits == 8 && mode > kIndexed && mode != kDuotone) {
    work.error = kImageUnsupported;
    return nullptr;
  }
  PaletteEntry colours[256];
  if (!reader.ReadSections(colours)) return nullptr;
  void* pixels = nullptr;
  if (bits == 8) {
    std::memcpy(palette, colours, sizeof colours);
    if (mode == kBitmap) {
      palette[0] = PaletteEntry{255, 255, 255, 0};
      palette[1] = PaletteEntry{0, 0, 0, 0};
    }
    pixels = reader.ReadSingleChannel(true, colours);
  } else if (mode == kRgb) {
    pixels = reader.ReadRgb();
  } else if (mode == kCmyk) {
    pixels = reader.ReadCmyk();
  } else {
    pixels = reader.ReadSingleChannel(false, colours);
  }
  if (pixels) {
    *width = static_cast<int>(header.width);
    *height = static_cast<int>(header.height);
  }
  return pixels;
}

bool WritePsdImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   const PaletteEntry* palette) {
  if (width <= 0 || height <= 0 || (bits == 8 && !palette)) {
    work.error = kImageBadArgument;
    return false;
  }
  const auto* in = static_cast<const uint8_t*>(pixels);
  const int channels = bits == 24 ? 3 : 1;
  bool written = WriteHeader(sink, static_cast<uint16_t>(channels), width, height, bits == 24 ? kRgb : kIndexed);
  uint8_t length[4] = {};
  if (bits == 8) {
    uint8_t table[kPaletteBytes];
    for (int i = 0; i < 256; ++i) {
      table[i] = palette[i].red;
      table[256 + i] = palette[i].green;
      table[512 + i] = palette[i].blue;
    }
    PutBigEndian32(length, kPaletteBytes);
    written = written && sink.WriteBlock(length, 4) && sink.WriteBlock(table, sizeof table);
  } else {
    written = written && sink.WriteBlock(length, 4);
  }
  written = written && WriteEmptySections(sink);
  ScratchBlock row(static_cast<uint64_t>(width));
  if (!row) {
    work.error = kImageNoMemory;
    return false;
  }
  for (int c = 0; c < channels && written; ++c) {
    for (int y = 0; y < height && written; ++y) {
      const uint8_t* p = in + (static_cast<size_t>(y) * width) * channels + c;
      uint8_t* out = row.As<uint8_t>();
      for (int x = 0; x < width; ++x, p += channels) out[x] = *p;
      written = sink.WriteBlock(out, static_cast<uint32_t>(width));
    }
    if (written && !work.Progress(c, channels)) return false;
  }
  if (!written) work.error = kImageWriteFailed;
  return written;
}

}  // namespace imagelib
