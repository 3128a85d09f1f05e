// Both libjpeg builds link into one program and each decodes the files of its
// own cjpeg: 8-bit samples from the one, 12-bit samples from the other.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "jpeg_decode.h"

namespace {

// The ramp of make_jpeg_fixtures.py.
constexpr int kWidth = 64;
constexpr int kHeight = 32;

int RampSample(int x, int y, int channel, int maxval) {
  switch (channel) {
    case 0: return x * maxval / (kWidth - 1);
    case 1: return y * maxval / (kHeight - 1);
    default: return maxval / 2;
  }
}

struct Case {
  const char* file;
  DecodedJpeg (*decode)(const char*);
  int precision;
  int maxval;
};

class JpegBuilds : public ::testing::TestWithParam<Case> {};

TEST_P(JpegBuilds, DecodesItsOwnPrecision) {
  const Case& c = GetParam();
  DecodedJpeg image = c.decode(c.file);
  ASSERT_EQ(image.error, "");
  EXPECT_EQ(image.precision, c.precision);
  ASSERT_EQ(image.width, kWidth);
  ASSERT_EQ(image.height, kHeight);
  ASSERT_EQ(image.components, 3);
  int largest = 0;
  int worst = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int ch = 0; ch < 3; ++ch) {
        int v = image.samples[(static_cast<size_t>(y) * kWidth + x) * 3 + ch];
        largest = std::max(largest, v);
        worst = std::max(worst, std::abs(v - RampSample(x, y, ch, c.maxval)));
      }
  EXPECT_LE(largest, c.maxval);
  EXPECT_GT(largest, c.maxval * 9 / 10);  // 12-bit samples really reach past 255
  EXPECT_LE(worst, c.maxval / 32) << "decoded samples stray from the ramp";
}

INSTANTIATE_TEST_SUITE_P(EightAndTwelve, JpegBuilds,
                         ::testing::Values(Case{"ramp8.jpg", DecodeJpeg8, 8, 255},
                                           Case{"ramp12.jpg", DecodeJpeg12, 12, 4095}));

TEST(JpegBuilds, EachBuildRefusesTheOtherPrecision) {
  EXPECT_NE(DecodeJpeg8("ramp12.jpg").error, "");
  EXPECT_NE(DecodeJpeg12("ramp8.jpg").error, "");
}

}  // namespace
