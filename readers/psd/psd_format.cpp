#include "readers/psd/psd_format.h"

#include <cstring>
#include <new>

uint16_t BigEndian16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

PsdHeader ParsePsdHeader(const uint8_t (&bytes)[kPsdHeaderBytes]) {
  PsdHeader header;
  header.channels = BigEndian16(bytes + 12);
  header.height = BigEndian32(bytes + 14);
  header.width = BigEndian32(bytes + 18);
  header.depth = BigEndian16(bytes + 22);
  header.mode = BigEndian16(bytes + 24);
  return header;
}

uint16_t PsdSamplesPerPixel(uint16_t mode) {
  switch (mode) {
    case 1: return 1;
    case 3: return 3;
    default: return 0;
  }
}

bool UnpackBitsRow(const uint8_t* packed, uint32_t packedSize, uint8_t* row, uint32_t rowBytes) {
  uint32_t in = 0;
  uint32_t out = 0;
  bool sound = true;
  while (out < rowBytes && in < packedSize) {
    auto count = static_cast<int8_t>(packed[in++]);
    if (count == -128) continue;
    if (count >= 0) {
      uint32_t n = static_cast<uint32_t>(count) + 1;
      if (n > rowBytes - out || n > packedSize - in) {
        sound = false;
        break;
      }
      std::memcpy(row + out, packed + in, n);
      in += n;
      out += n;
    } else {
      uint32_t n = static_cast<uint32_t>(1 - count);
      if (n > rowBytes - out || in >= packedSize) {
        sound = false;
        break;
      }
      std::memset(row + out, packed[in++], n);
      out += n;
    }
  }
  if (out < rowBytes) {
    std::memset(row + out, 0, rowBytes - out);
    sound = false;
  }
  return sound;
}

bool FindImageResourceBlock(const uint8_t* blocks, uint32_t length, uint16_t id, ImageResourceView* view) {
  uint32_t at = 0;
  // Signature, id and the name's length byte.
  while (length - at >= 7) {
    uint16_t blockId = BigEndian16(blocks + at + 4);
    const uint8_t* name = blocks + at + 6;
    uint32_t nameField = (uint32_t{name[0]} + 2) & ~1u;
    uint32_t sizeAt = at + 6 + nameField;
    if (nameField > length - at - 6 || length - sizeAt < 4) return false;
    uint32_t size = BigEndian32(blocks + sizeAt);
    uint32_t dataAt = sizeAt + 4;
    if (size > length - dataAt) return false;
    if (blockId == id) {
      *view = ImageResourceView{name, blocks + dataAt, size};
      return true;
    }
    uint32_t padded = size + (size & 1);
    if (padded > length - dataAt) return false;
    at = dataAt + padded;
  }
  return false;
}

std::vector<uint8_t> CopyImageResource(const uint8_t* blocks, uint32_t length, uint16_t id, uint8_t* name) {
  ImageResourceView view;
  if (!FindImageResourceBlock(blocks, length, id, &view)) return {};
  if (name) std::memcpy(name, view.name, size_t{view.name[0]} + 1);
  try {
    return std::vector<uint8_t>(view.data, view.data + view.size);
  } catch (const std::bad_alloc&) {
    return {};
  }
}
