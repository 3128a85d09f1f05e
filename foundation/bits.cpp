#include "foundation/bits.h"

#include <cstring>

void SwapBytes16(uint16_t* value) { *value = static_cast<uint16_t>(*value << 8 | *value >> 8); }

void SwapBytes32(uint32_t* value) {
  uint32_t v = *value;
  *value = v >> 24 | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | v << 24;
}

void SwapWords32(uint32_t* value) { *value = *value << 16 | *value >> 16; }

void InvertByteSpan(uint8_t* bytes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

void ExpandBitsToBytes(const uint8_t* bits, uint32_t count, uint8_t* bytes) {
  for (uint32_t i = 0; i < count; ++i) bytes[i] = TestBit(bits, i) ? 0 : 255;
}

namespace {

// Rows of three planes to grey samples or, for a bitmap, to packed bits.
template <typename Sample>
void PlanesToGrey(const Sample* source, Sample* target, int rows, int width, int channel, bool toBitmap,
                  uint32_t middle) {
  const long rowBytes = (width + 7) / 8;
  for (long row = 0; row < rows; ++row) {
    const Sample* red = source + row * width * 3;
    const Sample* planes[3] = {red, red + width, red + 2 * width};
    Sample* grey = target + row * width;
    uint8_t* packed = reinterpret_cast<uint8_t*>(target) + row * rowBytes;
    if (toBitmap) std::memset(packed, 0, static_cast<size_t>(rowBytes));
    for (int x = 0; x < width; ++x) {
      uint32_t value = channel >= 1 && channel <= 3
                           ? planes[channel - 1][x]
                           : (uint32_t{planes[0][x]} + planes[1][x] + planes[2][x] + 1) / 3;
      if (!toBitmap)
        grey[x] = static_cast<Sample>(value);
      else if (value < middle)
        SetBit(packed, static_cast<uint32_t>(x));
    }
  }
}

}  // namespace

void RgbPlanes16ToGrey(const uint16_t* source, uint16_t* target, int rows, int width, int channel, bool toBitmap) {
  PlanesToGrey(source, target, rows, width, channel, toBitmap, 32768);
}

void RgbPlanes8ToGrey(const uint8_t* source, uint8_t* target, int rows, int width, int channel, bool toBitmap) {
  PlanesToGrey(source, target, rows, width, channel, toBitmap, 128);
}

namespace {

int HexDigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool HexPairToByte(uint16_t pair, uint8_t* value) {
  int high = HexDigitValue(static_cast<unsigned char>(pair & 0xFF));
  int low = HexDigitValue(static_cast<unsigned char>(pair >> 8));
  if (high < 0 || low < 0) return false;
  *value = static_cast<uint8_t>(high << 4 | low);
  return true;
}

bool ByteToHexPair(uint32_t value, uint16_t* pair) {
  if (value > 255) return false;
  const char* digits = "0123456789ABCDEF";
  *pair = static_cast<uint16_t>(static_cast<uint8_t>(digits[value >> 4]) | static_cast<uint8_t>(digits[value & 15]) << 8);
  return true;
}

void UpperCaseAscii(char* text) {
  for (; *text; ++text)
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
}
