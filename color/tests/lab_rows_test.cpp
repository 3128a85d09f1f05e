// The storage forms of the L*a*b* kernels; their arithmetic is checked against
// numpy by lab_reference.py.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "color/lab_rows.h"
#include "state/data_source_state.h"

namespace {

// Primaries and white point (x, y pairs) as the defaults block keeps them.
using Basis = float[8];
// A green far outside the usual ones, so that a* of pure green falls below -127.
const Basis kWideGreen = {0.70f, 0.29f, 0.10f, 0.85f, 0.15f, 0.05f, 0.3127f, 0.3290f};
const Basis kStandard = {0.625f, 0.34f, 0.28f, 0.595f, 0.155f, 0.07f, 0.3127f, 0.3290f};

void UseBasis(const Basis& basis) {
  std::memcpy(DefaultsBytes(gDefaults, kDefaultPrimaries), basis, 24);
  std::memcpy(DefaultsBytes(gDefaults, kDefaultWhitePoint), basis + 6, 8);
  BuildLabTables(1.8);
}

class LabRows : public ::testing::Test {
 protected:
  void SetUp() override { UseBasis(kWideGreen); }
  void TearDown() override { FreeLabTables(); }
};

struct Rgb8Case {
  uint8_t rgb[3];
  uint8_t signedLab[3];
  uint8_t offsetLab[3];
};

TEST_F(LabRows, EightBitFormsClipAAndBInsteadOfWrapping) {
  const double green[3] = {0, 1, 0};
  double lab[3];
  RgbToLab(green, lab);
  ASSERT_LT(lab[1], -128.0);
  const Rgb8Case cases[] = {
      {{255, 255, 255}, {255, 0, 0}, {255, 128, 128}},
      {{0, 0, 0}, {0, 0, 0}, {0, 128, 128}},
      {{0, 255, 0}, {0, 0x81, 0}, {0, 0, 0}},  // L and b are checked apart
  };
  for (const Rgb8Case& c : cases) {
    uint8_t signedRow[3] = {c.rgb[0], c.rgb[1], c.rgb[2]};
    uint8_t offsetRow[3] = {c.rgb[0], c.rgb[1], c.rgb[2]};
    ConvertRgb8ToLab8(signedRow, 1, 1, true);
    ConvertRgb8ToLab8(offsetRow, 1, 1, false);
    EXPECT_EQ(signedRow[1], c.signedLab[1]) << int(c.rgb[1]);
    EXPECT_EQ(offsetRow[1], c.offsetLab[1]) << int(c.rgb[1]);
    if (c.rgb[1] == 0 || c.rgb[0] == 255) {
      EXPECT_EQ(signedRow[0], c.signedLab[0]);
      EXPECT_EQ(signedRow[2], c.signedLab[2]);
      EXPECT_EQ(offsetRow[2], c.offsetLab[2]);
    }
  }
}

TEST_F(LabRows, SixteenBitFormsOfWhiteBlackAndAClippedGreen) {
  // Planar: three colours per plane.
  const uint16_t rgb[9] = {65535, 0, 0, 65535, 0, 65535, 65535, 0, 0};
  uint16_t offset[9], signedLab[9];
  ConvertRgb16ToLab16(rgb, offset, 3, 1, 3, 1, 3, false);
  ConvertRgb16ToLab16(rgb, signedLab, 3, 1, 3, 1, 3, true);
  EXPECT_EQ(offset[0], 65535);       // white: L 100
  EXPECT_EQ(offset[3], 32767);       // a 0 with the offset: 127 x 65535/254, truncated
  EXPECT_EQ(offset[6], 32767);
  EXPECT_EQ(offset[1], 0);           // black
  EXPECT_EQ(signedLab[3], 0);
  EXPECT_EQ(offset[5], 0);           // green: a clipped to -127
  EXPECT_EQ(signedLab[5], 0x8001);   // -32767
  // From 8 bits: L x 256 of the 8-bit scale, a and b about 32768 (the white in
  // its 12-bit scale keeps them within a tenth of a unit).
  const uint8_t white8[3] = {255, 255, 255};
  uint16_t lab16[3];
  ConvertRgb8ToLab16(white8, lab16, 1, 1, 1, 1, 1);
  EXPECT_EQ(lab16[0], 65282);
  EXPECT_NEAR(lab16[1], 32768, 26);
  EXPECT_NEAR(lab16[2], 32768, 26);
}

TEST_F(LabRows, SixteenBitLabComesBackToNearlyTheSameRgb) {
  UseBasis(kStandard);  // every colour of it lies inside the 16-bit Lab range
  std::vector<uint16_t> rgb, lab(3 * 4096);
  std::vector<uint8_t> back(3 * 4096);
  for (int i = 0; i < 4096; ++i) rgb.push_back(static_cast<uint16_t>(((i * 37) % 256) * 257));
  for (int i = 0; i < 4096; ++i) rgb.push_back(static_cast<uint16_t>(((i * 91) % 256) * 257));
  for (int i = 0; i < 4096; ++i) rgb.push_back(static_cast<uint16_t>((i % 256) * 257));
  ConvertRgb16ToLab16(rgb.data(), lab.data(), 4096, 1, 4096, 1, 4096, false);
  ConvertLab16ToRgb8(lab.data(), back.data(), 4096, 1, 4096, 1, 4096);
  for (size_t i = 0; i < back.size(); ++i) {
    const int want = rgb[i] / 257;
    if (want < 32) continue;  // 12-bit linear steps spread over several dark levels
    ASSERT_NEAR(back[i], want, 3) << "sample " << i;
  }
}

TEST(LabRowHelpers, MultiplyAndInvertGrey) {
  uint8_t rows[6] = {255, 255, 128, 0, 200, 1};
  const uint8_t factors[6] = {255, 128, 128, 255, 0, 255};
  MultiplyRgb8Rows(rows, factors, 1, 2);
  const uint8_t product[6] = {254, 127, 64, 0, 0, 1};
  EXPECT_EQ(0, std::memcmp(rows, product, 6));
  const uint8_t grey[4] = {0, 99, 255, 99};
  uint8_t rgb[6] = {};
  InvertGreyToRgb8(grey, rgb, 2, 2, 3, 1);  // every other grey into interleaved pixels
  const uint8_t inverted[6] = {255, 255, 255, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(rgb, inverted, 6));
}

}  // namespace
