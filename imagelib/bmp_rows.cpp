#include "imagelib/bmp_rows.h"

#include <cstring>

namespace imagelib {

namespace {

uint8_t IndexAt(const uint8_t* src, int x, int bits) {
  switch (bits) {
    case 1: return (src[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
    default: return src[x];
  }
}

// One channel of a bit-field word: the top of the mask's run of set bits
// lands on bit 7 and the bits below the channel are filled with ones.
class MaskedChannel {
 public:
  explicit MaskedChannel(uint32_t mask) : mask_(mask & 0xFFFF) {
    if (!mask_) return;
    int low = 0;
    while (!((mask_ >> low) & 1)) ++low;
    int top = low;
    while (top < 15 && ((mask_ >> (top + 1)) & 1)) ++top;
    int width = top - low + 1;
    fill_ = width >= 8 ? 0 : static_cast<uint8_t>((1 << (8 - width)) - 1);
    if (top >= 8)
      right_ = top - 7;
    else
      left_ = 7 - top;
  }

  uint8_t From(uint32_t word) const {
    if (!mask_) return 0;
    return static_cast<uint8_t>((((word & mask_) >> right_) << left_) & 0xFF) | fill_;
  }

 private:
  uint32_t mask_;
  int right_ = 0;
  int left_ = 0;
  uint8_t fill_ = 0;
};

uint8_t Field555(uint32_t word, int shift) { return static_cast<uint8_t>(((word >> shift) & 0x1F) << 3 | 7); }

}  // namespace

void ConvertBmpRow(const uint8_t* src, int width, int bits, const PaletteEntry* table, const BmpMasks* masks,
                   uint8_t* dst, int fourth_byte) {
  const MaskedChannel red(masks ? masks->red : 0);
  const MaskedChannel green(masks ? masks->green : 0);
  const MaskedChannel blue(masks ? masks->blue : 0);
  for (int x = 0; x < width; ++x) {
    uint8_t r, g, b;
    switch (bits) {
      case 16: {
        uint32_t word = static_cast<uint32_t>(src[2 * x] | src[2 * x + 1] << 8);
        if (masks) {
          r = red.From(word), g = green.From(word), b = blue.From(word);
        } else {
          r = Field555(word, 10), g = Field555(word, 5), b = Field555(word, 0);
        }
        break;
      }
      case 24:
        b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
        break;
      case 32:
        b = src[4 * x], g = src[4 * x + 1], r = src[4 * x + 2];
        break;
      default: {
        const PaletteEntry& entry = table[IndexAt(src, x, bits)];
        r = entry.red, g = entry.green, b = entry.blue;
        break;
      }
    }
    *dst++ = r;
    *dst++ = g;
    *dst++ = b;
    if (fourth_byte >= 0) *dst++ = static_cast<uint8_t>(fourth_byte);
  }
}

void ExpandBmpIndexes(const uint8_t* src, int width, int bits, uint8_t* dst) {
  if (bits == 8) {
    std::memcpy(dst, src, static_cast<size_t>(width));
    return;
  }
  for (int x = 0; x < width; ++x) dst[x] = IndexAt(src, x, bits);
}

}  // namespace imagelib
