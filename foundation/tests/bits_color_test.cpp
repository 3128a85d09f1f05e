// Bit arrays, swaps, hexadecimal pairs, grey planes and HSL colours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "foundation/bits.h"
#include "foundation/color_hsl.h"

namespace {

TEST(Bits, MostSignificantBitFirst) {
  uint8_t bits[2] = {0, 0};
  SetBit(bits, 9);
  EXPECT_EQ(bits[1], 64);
  EXPECT_TRUE(TestBit(bits, 9));
  EXPECT_FALSE(TestBit(bits, 8));
  SetBit(bits, 0);
  EXPECT_EQ(bits[0], 128);
  ClearBit(bits, 9);
  EXPECT_EQ(bits[1], 0);
  uint8_t expanded[10];
  ExpandBitsToBytes(bits, 10, expanded);
  EXPECT_EQ(expanded[0], 0);
  EXPECT_EQ(expanded[1], 255);
}

TEST(Bits, SwapsAndInversion) {
  uint16_t a = 0x1234;
  SwapBytes16(&a);
  EXPECT_EQ(a, 0x3412);
  uint32_t b = 0x12345678;
  SwapBytes32(&b);
  EXPECT_EQ(b, 0x78563412u);
  uint32_t c = 0x12345678;
  SwapWords32(&c);
  EXPECT_EQ(c, 0x56781234u);
  uint8_t bytes[3] = {0, 0xF0, 0xFF};
  InvertBuffer(bytes, 3);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0x0F);
  EXPECT_EQ(bytes[2], 0x00);
}

TEST(Bits, HexPairsAndUpperCase) {
  uint16_t pair = 0;
  ASSERT_TRUE(ByteToHexPair(0xA5, &pair));
  EXPECT_EQ(pair & 0xFF, 'A') << "first digit in the low byte";
  EXPECT_EQ(pair >> 8, '5');
  uint8_t value = 0;
  ASSERT_TRUE(HexPairToByte(pair, &value));
  EXPECT_EQ(value, 0xA5);
  EXPECT_FALSE(ByteToHexPair(256, &pair));
  EXPECT_FALSE(HexPairToByte('a' | '0' << 8, &value)) << "lower-case digits are refused";
  char text[] = "abc-Zz1\xE4";
  UpperCaseAscii(text);
  EXPECT_STREQ(text, "ABC-ZZ1\xE4");
}

TEST(Bits, RgbPlanesToGreyAndBitmap) {
  // One row of 9 pixels: R plane, G plane, B plane.
  uint8_t source[27];
  for (int x = 0; x < 9; ++x) {
    source[x] = static_cast<uint8_t>(x * 30);  // red
    source[9 + x] = 100;                       // green
    source[18 + x] = 0;                        // blue
  }
  uint8_t grey[9];
  RgbPlanes8ToGrey(source, grey, 1, 9, 0, false);
  EXPECT_EQ(grey[0], (0 + 100 + 0 + 1) / 3);
  EXPECT_EQ(grey[8], (240 + 100 + 0 + 1) / 3);
  RgbPlanes8ToGrey(source, grey, 1, 9, 1, false);
  EXPECT_EQ(grey[5], 150);
  uint8_t packed[2] = {0xAA, 0xAA};
  RgbPlanes8ToGrey(source, packed, 1, 9, 1, true);
  EXPECT_EQ(packed[0], 0xF8) << "red below 128 for x = 0..4 sets the bit";
  EXPECT_EQ(packed[1], 0x00) << "the row's padding bits are clear";

  const uint16_t wide[3] = {40000, 30000, 20000};
  uint16_t out[1];
  RgbPlanes16ToGrey(wide, out, 1, 1, 0, false);
  EXPECT_EQ(out[0], 30000);
  RgbPlanes16ToGrey(wide, out, 1, 1, 3, true);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(out)[0], 0x80);
}

TEST(Hsl, GreyKeepsTheDefaultHue) {
  double h, s, l;
  RgbToHsl(0.5, 0.5, 0.5, &h, &s, &l, 0.3);
  EXPECT_DOUBLE_EQ(h, 0.3);
  EXPECT_DOUBLE_EQ(s, 0.0);
  EXPECT_DOUBLE_EQ(l, 0.5);
}

struct SextantCase {
  int sextant;
  double r, g, b;
};
class HslSextants : public testing::TestWithParam<SextantCase> {};

// Hue in the middle of each sextant, full saturation, half lightness:
// v = 1, m = 0 and both middle values 0.5.
TEST_P(HslSextants, FollowTheSextantTable) {
  double r = -1, g = -1, b = -1;
  HslToRgb((GetParam().sextant + 0.5) / 6.0, 1.0, 0.5, &r, &g, &b);
  EXPECT_NEAR(r, GetParam().r, 1e-12);
  EXPECT_NEAR(g, GetParam().g, 1e-12);
  EXPECT_NEAR(b, GetParam().b, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Table, HslSextants,
                         testing::Values(SextantCase{0, 1, 0.5, 0}, SextantCase{1, 0.5, 1, 0},
                                         SextantCase{2, 0, 1, 0.5}, SextantCase{3, 0, 0.5, 1},
                                         SextantCase{4, 0.5, 0, 1}, SextantCase{5, 1, 0, 0.5}));

TEST(Hsl, RoundTripsColours) {
  const double colours[][3] = {{1, 0, 0}, {0.2, 0.4, 0.6}, {0.9, 0.8, 0.1}, {0.3, 0.1, 0.25}};
  for (const auto& c : colours) {
    double h, s, l, r, g, b;
    RgbToHsl(c[0], c[1], c[2], &h, &s, &l, 0.0);
    HslToRgb(h, s, l, &r, &g, &b);
    EXPECT_NEAR(r, c[0], 1e-9);
    EXPECT_NEAR(g, c[1], 1e-9);
    EXPECT_NEAR(b, c[2], 1e-9);
  }
  double r = 7, g = 7, b = 7;
  HslToRgb(0.5, 0.0, 0.0, &r, &g, &b);
  EXPECT_EQ(r + g + b, 0.0) << "black";
}

TEST(Hsl, GreyPalettes) {
  PaletteEntry palette[256];
  std::memset(palette, 7, sizeof palette);
  FillGreyPalette(palette, 2);
  EXPECT_EQ(palette[0].red, 255);
  EXPECT_EQ(palette[1].red, 7) << "the second entry is left as it was";
  FillGreyPalette(palette, 256);
  EXPECT_EQ(palette[200].green, 200);
  EXPECT_EQ(palette[200].reserved, 0);
}

}  // namespace
