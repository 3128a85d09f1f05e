// TGA images: colour-mapped, true-colour and grey, raw and run-length
// encoded, read as 24-bit RGB or as 8-bit indexes with their map; written as
// 24-bit true colour or 8-bit colour-mapped, rows top to bottom.
#include <cstring>
#include <utility>

#include "imagelib/byte_reader.h"
#include "imagelib/codecs.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

struct TgaHeader {
  uint8_t id_length;
  uint8_t map_type;
  uint8_t image_type;
  uint16_t map_first;
  uint16_t map_length;
  uint8_t map_entry_bits;
  uint16_t width;
  uint16_t height;
  uint8_t pixel_bits;
  uint8_t descriptor;
};

constexpr uint8_t kTopToBottom = 0x20;

bool ReadHeader(ByteReader& in, TgaHeader* header) {
  uint8_t b[18];
  if (!in.Bytes(b, sizeof b)) return false;
  *header = {b[0], b[1], b[2], LittleEndian16(b + 3), LittleEndian16(b + 5), b[7],
             LittleEndian16(b + 12), LittleEndian16(b + 14), b[16], b[17]};
  return true;
}

bool IsValueSize(int bits) { return bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32; }
bool IsRunLength(const TgaHeader& header) { return header.image_type >= 9; }

struct Rgb {
  uint8_t red, green, blue;
};

// A stored value as a colour: grey for 8 bits, 5-5-5 for 15 and 16 (the low
// bits stay clear), B,G,R for 24 and 32.
Rgb ValueColour(const uint8_t* v, int bits) {
  switch (bits) {
    case 8:
      return {v[0], v[0], v[0]};
    case 15:
    case 16: {
      const uint16_t w = LittleEndian16(v);
      return {static_cast<uint8_t>((w >> 10 & 31) << 3), static_cast<uint8_t>((w >> 5 & 31) << 3),
              static_cast<uint8_t>((w & 31) << 3)};
    }
    default:
      return {v[2], v[1], v[0]};
  }
}

uint32_t ValueIndex(const uint8_t* v, int bits) { return bits == 8 ? v[0] : LittleEndian16(v); }

// Pixel values one after another, through raw and repeat packets that may
// run across rows.
class PixelValues {
 public:
  PixelValues(ByteReader& in, int bits, bool run_length)
      : in_(in), bytes_((bits + 7) / 8), run_length_(run_length) {}

  const uint8_t* Next() {
    if (run_length_) {
      if (left_ == 0) {
        uint8_t packet;
        if (!in_.Byte(&packet)) return nullptr;
        left_ = (packet & 127) + 1;
        repeat_ = (packet & 128) != 0;
        if (repeat_ && !in_.Bytes(value_, bytes_)) return nullptr;
      }
      --left_;
      if (repeat_) return value_;
    }
    return in_.Bytes(value_, bytes_) ? value_ : nullptr;
  }

 private:
  ByteReader& in_;
  uint32_t bytes_;
  bool run_length_;
  int left_ = 0;
  bool repeat_ = false;
  uint8_t value_[4] = {};
};

// The colour map: entry i of the file lands at first index + i; entries
// outside 0..255 are read and dropped, and indexes without an entry are black.
bool ReadColourMap(ByteReader& in, const TgaHeader& header, Rgb (&map)[256]) {
  const int bytes = (header.map_entry_bits + 7) / 8;
  for (uint32_t i = 0; i < header.map_length; ++i) {
    uint8_t value[4];
    if (!in.Bytes(value, bytes)) return false;
    const uint32_t index = header.map_first + i;
    if (index < 256) map[index] = ValueColour(value, header.map_entry_bits);
  }
  return true;
}

// Reads the rows into the buffer, placing each as the descriptor says; store
// turns one pixel value into its bytes.
template <typename Store>
bool ReadRows(EntryWork& work, ByteReader& in, const TgaHeader& header, uint8_t* buffer, size_t pixel_bytes,
              Store store) {
  PixelValues values(in, header.pixel_bits, IsRunLength(header));
  const int height = header.height;
  const size_t stride = static_cast<size_t>(header.width) * pixel_bytes;
  for (int i = 0; i < height; ++i) {
    const int row = header.descriptor & kTopToBottom ? i : height - 1 - i;
    uint8_t* out = buffer + static_cast<size_t>(row) * stride;
    for (int x = 0; x < header.width; ++x, out += pixel_bytes) {
      const uint8_t* value = values.Next();
      if (!value) {
        work.error = kImageReadFailed;
        return false;
      }
      store(value, out);
    }
    if (!work.Progress(i, height)) return false;
  }
  return true;
}

void* ReadRgb(EntryWork& work, ByteReader& in, const TgaHeader& header) {
  Rgb map[256] = {};
  if (header.map_type != 0) {
    if (!IsValueSize(header.map_entry_bits)) {
      work.error = kImageBadTgaType;
      return nullptr;
    }
    if (!ReadColourMap(in, header, map)) {
      work.error = kImageReadFailed;
      return nullptr;
    }
  }
  const bool indexed = header.map_type != 0 && header.image_type != 2 && header.image_type != 3 &&
                       header.image_type != 10;
  ScratchBlock buffer(static_cast<uint64_t>(header.width) * header.height * 3);
  if (!buffer) {
    work.error = kImageNoMemory;
    return nullptr;
  }
  const int bits = header.pixel_bits;
  const bool ok = ReadRows(work, in, header, buffer.As<uint8_t>(), 3, [&](const uint8_t* value, uint8_t* out) {
    Rgb colour = {0, 0, 0};
    if (!indexed) {
      colour = ValueColour(value, bits);
    } else {
      const uint32_t index = ValueIndex(value, bits);
      if (index < 256) colour = map[index];
    }
    out[0] = colour.red;
    out[1] = colour.green;
    out[2] = colour.blue;
  });
  return ok ? buffer.Release() : nullptr;
}

void* ReadIndexes(EntryWork& work, ByteReader& in, const TgaHeader& header, PaletteEntry* palette) {
  if (header.pixel_bits != 8 || (header.image_type != 1 && header.image_type != 9)) {
    work.error = kImageUnsupported;
    return nullptr;
  }
  if (header.map_type == 0 || !IsValueSize(header.map_entry_bits)) {
    work.error = kImageBadTgaType;
    return nullptr;
  }
  Rgb map[256] = {};
  if (!ReadColourMap(in, header, map)) {
    work.error = kImageReadFailed;
    return nullptr;
  }
  if (palette) {
    for (int i = 0; i < 256; ++i) {
      palette[i].blue = map[i].blue;
      palette[i].green = map[i].green;
      palette[i].red = map[i].red;
    }
  }
  ScratchBlock buffer(static_cast<uint64_t>(header.width) * header.height);
  if (!buffer) {
    work.error = kImageNoMemory;
    return nullptr;
  }
  const bool ok = ReadRows(work, in, header, buffer.As<uint8_t>(), 1,
                           [](const uint8_t* value, uint8_t* out) { *out = value[0]; });
  return ok ? buffer.Release() : nullptr;
}

}  // namespace

void* ReadTgaImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette) {
  ByteReader in(stream);
  TgaHeader header;
  if (!ReadHeader(in, &header)) {
    work.error = kImageReadFailed;
    return nullptr;
  }
  if (bits == 24) {
    const int t = header.image_type;
    const bool known = t == 1 || t == 2 || t == 3 || t == 9 || t == 10 || t == 11;
    if (!IsValueSize(header.pixel_bits) || !known) {
      work.error = kImageBadTgaType;
      return nullptr;
    }
  }
  if (!in.Skip(header.id_length)) {
    work.error = kImageReadFailed;
    return nullptr;
  }
  void* pixels = bits == 8 ? ReadIndexes(work, in, header, palette) : ReadRgb(work, in, header);
  if (pixels) {
    *width = header.width;
    *height = header.height;
  }
  return pixels;
}

bool WriteTgaImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   const PaletteEntry* palette) {
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF || (bits == 8 && !palette)) {
    work.error = kImageBadArgument;
    return false;
  }
  const bool mapped = bits == 8;
  uint8_t header[18] = {};
  header[1] = mapped ? 1 : 0;
  header[2] = mapped ? 1 : 2;
  if (mapped) {
    PutLittleEndian16(header + 5, 256);
    header[7] = 24;
  }
  PutLittleEndian16(header + 12, static_cast<uint32_t>(width));
  PutLittleEndian16(header + 14, static_cast<uint32_t>(height));
  header[16] = static_cast<uint8_t>(bits);
  header[17] = mapped ? 0x28 : kTopToBottom;
  bool written = sink.WriteBlock(header, sizeof header);
  if (written && mapped) {
    uint8_t map[256 * 3];
    for (int i = 0; i < 256; ++i) {
      map[3 * i] = palette[i].blue;
      map[3 * i + 1] = palette[i].green;
      map[3 * i + 2] = palette[i].red;
    }
    written = sink.WriteBlock(map, sizeof map);
  }
  const size_t stride = static_cast<size_t>(width) * (mapped ? 1 : 3);
  ScratchBlock row(stride);
  if (!row) {
    work.error = kImageNoMemory;
    return false;
  }
  const auto* in = static_cast<const uint8_t*>(pixels);
  for (int y = 0; y < height && written; ++y, in += stride) {
    uint8_t* out = row.As<uint8_t>();
    std::memcpy(out, in, stride);
    if (!mapped)
      for (size_t x = 0; x < stride; x += 3) std::swap(out[x], out[x + 2]);
    written = sink.WriteBlock(out, static_cast<uint32_t>(stride));
    if (written && !work.Progress(y, height)) return false;
  }
  if (!written) work.error = kImageWriteFailed;
  return written;
}

}  // namespace imagelib
