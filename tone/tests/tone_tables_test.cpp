// The tone tables of a block: identity of the default block, ranges and
// ramps, fixed points, the gamma and negative tables and the table utilities.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sharpen/negative_curves.h"
#include "tone/curve_tables.h"
#include "tone/gamma_tables.h"
#include "tone/table_utils.h"
#include "tone/tests/tone_fixture.h"

namespace {

std::vector<uint8_t> CurveTable(const ToneBlock& block, FrameRecord* frame, int16_t channel = 0) {
  std::vector<uint8_t> table(kCurveTableBytes, 0xA5);
  BuildCurveTable(table.data(), block, 0, frame, channel);
  return table;
}

TEST(ToneTables, DefaultBlockGivesIdentityInEightAndSixteenBits) {
  ToneFixture fixture;
  const ToneBlock& block = fixture.frame.tone[0];
  const std::vector<uint8_t> curve = CurveTable(block, &fixture.frame);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(curve[i], i) << "8-bit curve entry " << i;
  EXPECT_EQ(curve[256], 255) << "the spline reaches entry 256";

  std::vector<uint16_t> wide(kToneWorkLevels);
  BuildFrameToneTables(wide.data(), block, kToneWorkLevels, kToneWorkLevels, 0, 1, &fixture.frame, 1.0);
  for (int i = 0; i < kToneWorkLevels; ++i) ASSERT_EQ(wide[i], i) << "16-bit entry " << i;

  std::vector<uint8_t> reduced(256);
  ComputeToneTables(reduced.data(), block, 256, 0, 1, &fixture.frame, 1.0);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(reduced[i], i) << "reduced entry " << i;
}

TEST(ToneTables, ReductionMapsTheWorkScaleEndsToTheByteEnds) {
  ToneFixture fixture;
  std::vector<uint8_t> reduced(kToneWorkLevels);
  ComputeToneTables(reduced.data(), fixture.frame.tone[0], kToneWorkLevels, 0, 0, &fixture.frame, 1.0);
  EXPECT_EQ(reduced[0], 0);
  EXPECT_EQ(reduced[32], 0) << "32 x 255 / 16383 = 0.498";
  EXPECT_EQ(reduced[33], 1) << "33 x 255 / 16383 = 0.514";
  EXPECT_EQ(reduced[16383], 255);
  // A neutral 16-bit sample v, read at v >> 2, reduces to round(v x 255 / 65535).
  for (int m = 0; m < 256; ++m) ASSERT_EQ(reduced[(257 * m) >> 2], m) << "sample " << 257 * m;
}

// The table an 8-bit source is composed with is built like the tone table
// itself, so that a neutral frame hands on the file's samples unchanged.
TEST(ToneTables, NeutralEightBitSourceComposesToTheIdentity) {
  ToneFixture fixture;
  for (double gamma : {1.0, 1.8, 2.2}) {
    SetDefault(fixture.defaults, kDefaultGammaReflective, gamma);
    std::vector<uint8_t> curve(256), source(256), composed(256);
    ComputeToneTables(curve.data(), fixture.frame.tone[0], 256, 0, 0, &fixture.frame, 1.0);
    BuildReducedGammaTable8(source.data(), 256, gamma);
    EXPECT_EQ(source[255], 255) << "full scale at full scale, gamma " << gamma;
    ComposeWithInverse8(composed.data(), curve.data(), source.data(), 256);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(composed[i], i) << "gamma " << gamma;
  }
}

TEST(ToneTables, InputRangeGetsLinearRampsToTheEndValues) {
  ToneFixture fixture;
  ToneBlock block = fixture.frame.tone[0];
  block.inputLow = 64;
  block.inputHigh = 192;
  block.endLow = 10;
  block.endHigh = 250;
  const std::vector<uint8_t> table = CurveTable(block, &fixture.frame);
  EXPECT_EQ(table[64], 0);
  EXPECT_EQ(table[192], 255);
  EXPECT_EQ(table[128], 128);
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(table[i], 10 + static_cast<int>(i * (0 - 10) / 64.0 + 0.5)) << "lower ramp " << i;
  }
  // The shared rounding takes -4.5 toward zero, so the falling ramp ends one level short.
  EXPECT_NEAR(table[255], 250, 1);
  EXPECT_EQ(table[256], 0xA5) << "only the spline over an input range ending at 256 writes entry 256";
  for (int i = 193; i < 256; ++i) EXPECT_LE(table[i], table[i - 1]) << "upper ramp falls to 250, " << i;
}

TEST(ToneTables, InputRangeOutsideTheScaleStaysInsideTheTable) {
  ToneFixture fixture;
  ToneBlock block = fixture.frame.tone[0];
  block.inputLow = -50;
  block.inputHigh = 400;
  std::vector<uint8_t> table(kCurveTableBytes + 8, 0xA5);
  BuildCurveTable(table.data(), block, 0, &fixture.frame, 0);
  for (int i = 257; i < kCurveTableBytes + 8; ++i) EXPECT_EQ(table[i], 0xA5) << "written beyond at " << i;
  EXPECT_EQ(table[0], 0);
  EXPECT_EQ(table[255], 255);

  std::vector<uint16_t> wide(kToneWorkLevels);
  BuildFrameToneTables(wide.data(), block, kToneWorkLevels, kToneWorkLevels, 0, 0, &fixture.frame, 1.0);
  EXPECT_EQ(wide[kToneWorkLevels - 1], kToneWorkLevels - 1);
}

TEST(ToneTables, OutputRangeScalesTheCurveSection) {
  ToneFixture fixture;
  ToneBlock block = fixture.frame.tone[0];
  block.outputLow = 20;
  block.outputHigh = 200;
  const std::vector<uint8_t> table = CurveTable(block, &fixture.frame);
  EXPECT_EQ(table[0], 20);
  EXPECT_EQ(table[255], 200);
  EXPECT_EQ(table[128], static_cast<int>(20 + 128 * 180 / 255.0 + 0.5));
}

TEST(ToneTables, FixedPointsBendTheChannelTableAndCanBeLeftOut) {
  ToneFixture fixture;
  FrameRecord& frame = fixture.frame;
  frame.tone[2].fixedPointValues[0] = ToneFixedPointValue{100, 150};
  frame.tone[1].fixedPointValues[0] = ToneFixedPointValue{100, 100};
  const FrameRecord before = frame;

  const std::vector<uint8_t> bent = CurveTable(frame.tone[2], &frame, 2);
  EXPECT_EQ(bent[100], 150);
  EXPECT_EQ(bent[50], 75);

  std::vector<uint8_t> plain(kCurveTableBytes);
  BuildChannelCurveTable(plain.data(), &frame, 2);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(plain[i], i) << "entry " << i;
  EXPECT_EQ(std::memcmp(&before, &frame, sizeof frame), 0) << "the frame is left as it was";

  std::vector<uint16_t> wide(kToneWorkLevels);
  BuildFrameToneTables(wide.data(), frame.tone[2], kToneWorkLevels, kToneWorkLevels, 2, 0, &frame, 1.0);
  EXPECT_NEAR(wide[100 * 16383 / 255], 150 * 16383 / 255, 2);
}

TEST(ToneTables, GammaIsAppliedBeforeTheCurve) {
  ToneFixture fixture;
  SetDefault(fixture.defaults, kDefaultGammaReflective, 2.0);
  ToneBlock block = fixture.frame.tone[0];
  block.inputLow = 128;   // black below the middle of the gamma-corrected input
  block.endLow = 0;
  std::vector<uint8_t> table(256);
  ComputeToneTables(table.data(), block, 256, 0, 0, &fixture.frame, 1.0);
  // sqrt(i / 255) reaches the middle at i = 64.
  EXPECT_EQ(table[63], 0);
  EXPECT_GT(table[80], 0);
  EXPECT_EQ(table[255], 255);
}

TEST(GammaTables, CurrentGammaFollowsTheOriginalTypeAndIsRestoredAfterACall) {
  ToneFixture fixture;
  SetDefault(fixture.defaults, kDefaultGammaReflective, 1.8);
  SetDefault(fixture.defaults, kDefaultGammaTransparency, 2.2);
  EXPECT_EQ(CurrentGamma(), 1.8);
  fixture.lightSource = 1;
  EXPECT_EQ(CurrentGamma(), 2.2);

  std::vector<uint8_t> withGamma(256), plain(256);
  ComputeToneTablesWithGamma(withGamma.data(), fixture.frame.tone[0], 256, 0, 0, &fixture.frame, 1.0);
  EXPECT_EQ(CurrentGamma(), 2.2);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(withGamma[i], i) << "gamma 1.0 stood for the call";

  ComputeToneTables(plain.data(), fixture.frame.tone[0], 256, 0, 0, &fixture.frame, 2.2);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(plain[i], i) << "the divisor takes the gamma out";
}

TEST(GammaTables, ToeMeetsThePowerCurveAndStartsAtZero) {
  ToneFixture fixture;
  SetDefault(fixture.defaults, kDefaultLimitGammaSlope, static_cast<uint8_t>(1));
  const int n = 16384;
  std::vector<uint16_t> toe(n), plain(n);
  BuildGammaTable(toe.data(), n, n, 2.2);
  SetDefault(fixture.defaults, kDefaultLimitGammaSlope, static_cast<uint8_t>(0));
  BuildGammaTable(plain.data(), n, n, 2.2);
  const double xc = std::pow(10.0, 1.0 / (1.0 / 2.2 - 1.0));
  EXPECT_NEAR(xc, 0.01468, 1e-5);
  const int atXc = static_cast<int>(std::ceil(xc * (n - 1)));
  EXPECT_EQ(toe[0], 0);
  EXPECT_LT(toe[1], plain[1]) << "the toe is flatter than the power curve at black";
  for (int i = atXc; i < n; ++i) ASSERT_EQ(toe[i], plain[i]) << "entry " << i;
  EXPECT_LE(std::abs(toe[atXc - 1] - plain[atXc - 1]), 1) << "continuous at xc";
  for (int i = 1; i < n; ++i) ASSERT_GE(toe[i], toe[i - 1]) << "entry " << i;

  SetDefault(fixture.defaults, kDefaultLimitGammaSlope, static_cast<uint8_t>(1));
  std::vector<uint16_t> below(n), belowPlain(n);
  BuildGammaTable(below.data(), n, n, 1.05);
  SetDefault(fixture.defaults, kDefaultLimitGammaSlope, static_cast<uint8_t>(0));
  BuildGammaTable(belowPlain.data(), n, n, 1.05);
  EXPECT_EQ(below, belowPlain) << "no toe below gamma 1.1";
}

TEST(GammaTables, NegativeTableFallsFromFullScaleToZero) {
  ToneFixture fixture;
  uint8_t* limits = DefaultsBytes(fixture.defaults, kDefaultFilmLimits);
  limits[2] = 20;
  limits[3] = 230;
  for (int n : {256, 16384}) {
    std::vector<uint16_t> table(n);
    BuildNegativeGammaTable(table.data(), n, 1.0, 1, nullptr);
    EXPECT_EQ(table[0], n - 1);
    EXPECT_EQ(table[n - 1], 0);
    for (int i = 1; i < n; ++i) ASSERT_LE(table[i], table[i - 1]) << "n " << n << " entry " << i;
  }
}

TEST(GammaTables, NegativeFilmLimitsBeyondTheTableStayInside) {
  ToneFixture fixture;
  gFilmCurvesInGamma = 1;
  fixture.frame.negativeLimits[2] = 0.1f;
  fixture.frame.negativeLimits[3] = 7.0f;
  std::vector<uint16_t> table(256 + 8, 0xBEEF);
  BuildNegativeGammaTable(table.data(), 256, 1.0, 1, &fixture.frame);
  gFilmCurvesInGamma = 0;
  for (int i = 256; i < 264; ++i) EXPECT_EQ(table[i], 0xBEEF) << "written beyond the table at " << i;
  EXPECT_EQ(table[0], 255);
}

TEST(GammaTables, ModeChoosesNegativeCalibratedOrPlain) {
  ToneFixture fixture;
  uint8_t* limits = DefaultsBytes(fixture.defaults, kDefaultFilmLimits);
  limits[2] = 20;
  limits[3] = 230;
  const int16_t n = 1024;
  std::vector<uint16_t> table(n), expected(n);

  BuildGammaTableForMode(table.data(), n, 1.8, 1, 1, &fixture.frame);
  BuildGammaTable(expected.data(), n, n, 1.8);
  EXPECT_EQ(table, expected) << "a positive original";

  SetDefault(fixture.defaults, kDefaultNegativeMode, static_cast<uint8_t>(1));
  BuildGammaTableForMode(table.data(), n, 1.8, 1, 1, &fixture.frame);
  BuildNegativeGammaTable(expected.data(), n, 1.8, 1, &fixture.frame);
  EXPECT_EQ(table, expected) << "a negative";

  SetDefault(fixture.defaults, kDefaultInputCmsMode, static_cast<int16_t>(3));
  BuildGammaTableForMode(table.data(), n, 1.8, 1, 1, &fixture.frame);
  EXPECT_EQ(table, expected) << "a negative under the identity grey balance";

  SetDefault(fixture.defaults, kDefaultNegativeMode, static_cast<uint8_t>(0));
  BuildGammaTableForMode(table.data(), n, 1.8, 2, 1, &fixture.frame);
  BuildGammaTable(expected.data(), n, n, 1.8);
  EXPECT_EQ(table, expected) << "calibrated under the identity grey balance";
}

TEST(TableUtilities, InverseLookupOfATableComposedWithItsInverseIsTheIdentity) {
  ToneFixture fixture;
  const int16_t n = kToneWorkLevels;
  std::vector<uint16_t> gamma(n), composed(n);
  BuildGammaTable(gamma.data(), n, n, 0.6);
  ComposeWithInverse16(composed.data(), gamma.data(), gamma.data(), n);
  for (int i = 0; i < n; ++i) ASSERT_LE(std::abs(composed[i] - i), 1) << "16-bit entry " << i;

  std::vector<uint8_t> curve(256), composed8(256);
  for (int i = 0; i < 256; ++i) curve[i] = static_cast<uint8_t>(std::lround(255 * std::pow(i / 255.0, 0.7)));
  ComposeWithInverse8(composed8.data(), curve.data(), curve.data(), 256);
  for (int i = 0; i < 256; ++i) ASSERT_LE(std::abs(composed8[i] - i), 1) << "8-bit entry " << i;
}

TEST(TableUtilities, InverseLookupEndsAndInterpolation) {
  const uint8_t table[4] = {10, 20, 40, 50};
  EXPECT_EQ(InverseLookup8(table, 5, 4), 0.0);
  EXPECT_EQ(InverseLookup8(table, 10, 4), 0.0);
  EXPECT_EQ(InverseLookup8(table, 30, 4), 1.5);
  EXPECT_EQ(InverseLookup8(table, 45, 4), 2.5);
  EXPECT_EQ(InverseLookup8(table, 60, 4), 3.0);
  const uint16_t wide[3] = {0, 1000, 3000};
  EXPECT_EQ(InverseLookup16(wide, 2000, 3), 1.5);
}

TEST(TableUtilities, ComposeReverseAndInvert) {
  const uint16_t outer[4] = {3, 2, 1, 0};
  const uint16_t inner[4] = {0, 0, 2, 3};
  uint16_t out[4];
  ComposeTables16(out, outer, inner, 4, 4, 4, 4, 4, 4);
  EXPECT_EQ(out[0], 3);
  EXPECT_EQ(out[2], 1);
  EXPECT_EQ(out[3], 0);

  uint16_t values[5] = {1, 2, 3, 4, 5};
  ReverseTable16(values + 1, 3);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[1], 4);
  EXPECT_EQ(values[3], 2);
  EXPECT_EQ(values[4], 5);

  uint8_t bytes[2] = {0, 200};
  InvertBytes(bytes, 2);
  EXPECT_EQ(bytes[0], 255);
  EXPECT_EQ(bytes[1], 55);
}

}  // namespace
