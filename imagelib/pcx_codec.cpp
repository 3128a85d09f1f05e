// PCX images: 1, 2, 4 and 8 bits in one plane, several 1-bit planes, and
// 24 bits as three 8-bit planes, run-length coded, with the 16-colour header
// palette or the 256-colour trailer; written as 8 bits with the trailer or as
// three planes.
#include <cstring>

#include "imagelib/byte_reader.h"
#include "imagelib/codecs.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

constexpr uint8_t kManufacturer = 10;
constexpr uint8_t kPaletteMark = 12;
constexpr uint32_t kHeaderSize = 128;
constexpr long kTrailerSize = 1 + 256 * 3;

struct PcxHeader {
  uint8_t version;
  uint8_t bits;  // per pixel and plane
  uint16_t xmin, ymin, xmax, ymax;
  uint8_t palette16[48];  // red, green, blue
  uint8_t planes;
  uint16_t bytes_per_line;
  int width() const { return xmax - xmin + 1; }
  int height() const { return ymax - ymin + 1; }
  int depth() const { return planes * bits; }
};

// Anything the reader cannot take apart safely is a bad header.
bool ReadHeader(IoStream& stream, PcxHeader* header) {
  uint8_t b[kHeaderSize];
  if (!stream.Rewind() || !stream.ReadExact(b, sizeof b)) return false;
  if (b[0] != kManufacturer || (b[1] != 0 && b[1] != 2 && b[1] != 3 && b[1] != 5)) return false;
  header->version = b[1];
  header->bits = b[3];
  header->xmin = LittleEndian16(b + 4);
  header->ymin = LittleEndian16(b + 6);
  header->xmax = LittleEndian16(b + 8);
  header->ymax = LittleEndian16(b + 10);
  std::memcpy(header->palette16, b + 16, sizeof header->palette16);
  header->planes = b[65];
  header->bytes_per_line = LittleEndian16(b + 66);
  if (header->xmax < header->xmin || header->ymax < header->ymin || header->planes == 0) return false;
  const uint64_t needed = (static_cast<uint64_t>(header->width()) * header->bits + 7) / 8;
  return header->bytes_per_line >= needed;
}

// One plane of 1, 2, 4 or 8 bits, 1-bit planes packed into up to 8 bits, or three 8-bit planes.
bool IsSupportedLayout(const PcxHeader& header) {
  const int d = header.depth();
  if (header.planes == 3 && header.bits == 8) return true;
  if (d != 1 && d != 2 && d != 4 && d != 8) return false;
  return header.planes == 1 || header.bits == 1;
}

// The palette as the file gives it: the 256-colour trailer, else a grey ramp;
// depths below 8 take their colours from the header, later entries repeat entry 0.
void ReadPalette(IoStream& stream, const PcxHeader& header, PaletteEntry (&palette)[256]) {
  const int d = header.depth();
  uint8_t trailer[kTrailerSize];
  const bool has_trailer = header.version == 5 && d == 8 && stream.Seek(-kTrailerSize, 2) &&
                           stream.ReadExact(trailer, sizeof trailer) && trailer[0] == kPaletteMark;
  for (int i = 0; i < 256; ++i) {
    const uint8_t* rgb = has_trailer ? trailer + 1 + 3 * i : nullptr;
    palette[i] = rgb ? PaletteEntry{rgb[2], rgb[1], rgb[0], 0}
                     : PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0};
  }
  if (d < 8) {
    const int colours = 1 << d;
    for (int i = 0; i < 256; ++i) {
      const uint8_t* rgb = header.palette16 + 3 * (i < colours ? i : 0);
      palette[i] = PaletteEntry{rgb[2], rgb[1], rgb[0], 0};
    }
  }
}

// One coded scan line; a run never passes the end of the line.
bool DecodeLine(ByteReader& in, uint8_t* line, uint32_t size) {
  uint32_t filled = 0;
  while (filled < size) {
    uint8_t code;
    if (!in.Byte(&code)) return false;
    uint32_t count = 1;
    uint8_t value = code;
    if ((code & 0xC0) == 0xC0) {
      count = code & 0x3F;
      if (!in.Byte(&value)) return false;
    }
    if (count > size - filled) count = size - filled;
    std::memset(line + filled, value, count);
    filled += count;
  }
  return true;
}

// The pixel values of a row below 24 bits: the planes' bits combined (bit k
// from plane k), then unpacked high bits first.
void UnpackRow(const PcxHeader& header, const uint8_t* line, int width, uint8_t* values) {
  const int d = header.depth();
  const uint32_t bpl = header.bytes_per_line;
  if (header.planes == 1) {
    const int per_byte = 8 / d, mask = (1 << d) - 1;
    for (int x = 0; x < width; ++x) {
      const int shift = 8 - d * (x % per_byte + 1);
      values[x] = static_cast<uint8_t>(line[x / per_byte] >> shift & mask);
    }
    return;
  }
  for (int x = 0; x < width; ++x) {
    uint8_t value = 0;
    for (int k = 0; k < header.planes; ++k)
      value |= static_cast<uint8_t>((line[k * bpl + x / 8] >> (7 - x % 8) & 1) << k);
    values[x] = value;
  }
}

void* ReadImage(EntryWork& work, IoStream& stream, const PcxHeader& header, int bits, PaletteEntry* caller_palette) {
  PaletteEntry palette[256];
  ReadPalette(stream, header, palette);
  if (bits == 8 && caller_palette) std::memcpy(caller_palette, palette, sizeof palette);
  if (header.depth() == 1) {
    palette[0] = PaletteEntry{0, 0, 0, 0};
    palette[1] = PaletteEntry{255, 255, 255, 0};
  }
  const int width = header.width(), height = header.height();
  const size_t out_bytes = bits == 24 ? 3 : 1;
  const uint32_t line_size = static_cast<uint32_t>(header.planes) * header.bytes_per_line;
  ScratchBlock buffer(static_cast<uint64_t>(width) * height * out_bytes);
  ScratchBlock line(line_size);
  ScratchBlock values(static_cast<uint64_t>(width));
  if (!buffer || !line || !values) {
    work.error = kImageNoMemory;
    return nullptr;
  }
  if (!stream.Seek(kHeaderSize, 0)) {
    work.error = kImageReadFailed;
    return nullptr;
  }
  ByteReader in(stream);
  uint8_t* out = buffer.As<uint8_t>();
  for (int y = 0; y < height; ++y) {
    if (!DecodeLine(in, line.As<uint8_t>(), line_size)) {
      work.error = kImageReadFailed;
      return nullptr;
    }
    const uint8_t* planes = line.As<uint8_t>();
    if (header.depth() == 24) {
      for (int x = 0; x < width; ++x, out += 3) {
        out[0] = planes[x];
        out[1] = planes[header.bytes_per_line + x];
        out[2] = planes[2 * header.bytes_per_line + x];
      }
    } else {
      uint8_t* v = values.As<uint8_t>();
      UnpackRow(header, planes, width, v);
      for (int x = 0; x < width; ++x) {
        if (bits == 8) {
          *out++ = v[x];
        } else {
          *out++ = palette[v[x]].red;
          *out++ = palette[v[x]].green;
          *out++ = palette[v[x]].blue;
        }
      }
    }
    if (!work.Progress(y, height)) return nullptr;
  }
  return buffer.Release();
}

// Runs of up to 63 equal bytes; a single byte that looks like a count is
// written as a run of one.
bool EncodePlane(IoStream& sink, const uint8_t* bytes, uint32_t count, uint8_t* coded) {
  uint32_t size = 0;
  for (uint32_t i = 0; i < count;) {
    uint32_t run = 1;
    while (i + run < count && run < 63 && bytes[i + run] == bytes[i]) ++run;
    if (run > 1 || bytes[i] >= 0xC0) coded[size++] = static_cast<uint8_t>(0xC0 | run);
    coded[size++] = bytes[i];
    i += run;
  }
  return sink.WriteBlock(coded, size);
}

}  // namespace

void* ReadPcxImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette) {
  PcxHeader header;
  if (!ReadHeader(stream, &header)) {
    work.error = kImageBadPcxHeader;
    return nullptr;
  }
  if (!IsSupportedLayout(header) || (bits == 8 && header.depth() > 8)) {
    work.error = kImageUnsupported;
    return nullptr;
  }
  void* pixels = ReadImage(work, stream, header, bits, palette);
  if (pixels) {
    *width = header.width();
    *height = header.height();
  }
  return pixels;
}

bool WritePcxImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   const PaletteEntry* palette) {
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF || (bits == 8 && !palette)) {
    work.error = kImageBadArgument;
    return false;
  }
  const int planes = bits == 24 ? 3 : 1;
  const uint32_t bpl = static_cast<uint32_t>(width + 1) & ~1u;
  uint8_t header[kHeaderSize] = {};
  header[0] = kManufacturer;
  header[1] = 5;
  header[2] = 1;
  header[3] = 8;
  PutLittleEndian16(header + 8, static_cast<uint32_t>(width - 1));
  PutLittleEndian16(header + 10, static_cast<uint32_t>(height - 1));
  PutLittleEndian16(header + 12, 96);
  PutLittleEndian16(header + 14, 96);
  header[65] = static_cast<uint8_t>(planes);
  PutLittleEndian16(header + 66, bpl);
  PutLittleEndian16(header + 68, 1);
  if (!sink.WriteBlock(header, sizeof header)) {
    work.error = kImageWriteFailed;
    return false;
  }
  ScratchBlock plane(bpl);
  ScratchBlock coded(2 * static_cast<uint64_t>(bpl));
  if (!plane || !coded) {
    work.error = kImageNoMemory;
    return false;
  }
  const auto* row = static_cast<const uint8_t*>(pixels);
  for (int y = 0; y < height; ++y, row += static_cast<size_t>(width) * planes) {
    for (int k = 0; k < planes; ++k) {
      uint8_t* p = plane.As<uint8_t>();
      for (int x = 0; x < width; ++x) p[x] = row[x * planes + k];
      if (!EncodePlane(sink, p, bpl, coded.As<uint8_t>())) {
        work.error = kImageWriteFailed;
        return false;
      }
    }
    if (!work.Progress(y, height)) return false;
  }
  if (bits == 8) {
    uint8_t trailer[kTrailerSize];
    trailer[0] = kPaletteMark;
    for (int i = 0; i < 256; ++i) {
      trailer[1 + 3 * i] = palette[i].red;
      trailer[2 + 3 * i] = palette[i].green;
      trailer[3 + 3 * i] = palette[i].blue;
    }
    if (!sink.WriteBlock(trailer, sizeof trailer)) {
      work.error = kImageWriteFailed;
      return false;
    }
  }
  return true;
}

}  // namespace imagelib
