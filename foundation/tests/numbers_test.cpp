// Decimal texts, fixed point and the 16-bit rectangle conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/decimal.h"
#include "foundation/fixed_point.h"
#include "foundation/geometry.h"
#include "foundation/pstring.h"

namespace {

std::string Text(const unsigned char* s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

struct FormatCase {
  double value;
  int decimals;
  const char* text;
};
class FormatDecimalCases : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDecimalCases, Formats) {
  PString s;
  FormatDecimal(s, GetParam().value, GetParam().decimals);
  EXPECT_EQ(Text(s), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatDecimalCases,
    testing::Values(FormatCase{3.14159, 2, "3.14"}, FormatCase{0.5, 2, "0.50"}, FormatCase{3.05, 2, "3.05"},
                    FormatCase{-2.5, 1, "-2.5"}, FormatCase{0.2, 0, "0"}, FormatCase{0.04, 2, "0.04"},
                    FormatCase{2.999, 2, "3.00"}, FormatCase{12.5, 0, "13"},
                    // Pixel sizes beyond the 16-bit range keep their value.
                    FormatCase{32768.0, 0, "32768"}, FormatCase{70000.2, 0, "70000"},
                    FormatCase{123456.789, 1, "123456.8"}));

struct ParseCase {
  const char* text;
  double value;
};
class ParseDecimalCases : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimalCases, Parses) {
  PString s;
  PStrFromC(s, GetParam().text);
  EXPECT_DOUBLE_EQ(ParseDecimal(s), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseDecimalCases,
                         testing::Values(ParseCase{"-1,25", -1.25}, ParseCase{"abc", 0.0}, ParseCase{"+3.05", 3.05},
                                         ParseCase{".5", 0.5}, ParseCase{"12", 12.0}, ParseCase{"0,007", 0.007},
                                         ParseCase{"", 0.0}));

TEST(ParseDecimal, EditsTheTextInPlace) {
  PString s;
  PStrFromC(s, "-1,25");
  ParseDecimal(s);
  EXPECT_EQ(Text(s), "1.25");
}

struct PadCase {
  const char* text;
  int32_t number;
  int digits;
  int maxLength;
  const char* result;
};
class AppendPaddedNumberCases : public testing::TestWithParam<PadCase> {};

TEST_P(AppendPaddedNumberCases, Appends) {
  char text[300];
  std::strcpy(text, GetParam().text);
  AppendPaddedNumber(text, GetParam().number, GetParam().digits, GetParam().maxLength);
  EXPECT_STREQ(text, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Cases, AppendPaddedNumberCases,
                         testing::Values(PadCase{"Scan", 7, 3, 255, "Scan007"}, PadCase{"Scan", 1234, 3, 255, "Scanxxx"},
                                         PadCase{"Scan", 999, 3, 255, "Scan999"},
                                         PadCase{"LongName", 12, 2, 6, "Long12"}, PadCase{"", 0, 1, 255, "0"}));

TEST(FixedPoint, RoundsHalfUpTowardZeroAndConvertsBack) {
  EXPECT_EQ(DoubleToFix(-1.5), -98303);
  EXPECT_EQ(DoubleToFix(1.5), 98304);
  EXPECT_DOUBLE_EQ(FixToDouble(-98304), -1.5);
  EXPECT_EQ(FixRatio(1, 3), 21845);
  EXPECT_EQ(FixRatio16(-1, 2), -32767);
  EXPECT_EQ(FixMul(3 * kFixedOne, kFixedOne / 2), 98304);
  EXPECT_EQ(IntPower(10, 4), 10000);
  EXPECT_EQ(IntPower(7, 0), 1);
  EXPECT_EQ(IntPower(7, -3), 1);
}

TEST(FixedPoint, FloatsAndSixteenBitValues) {
  const uint16_t values[3] = {0, 32768, 65535};
  float floats[3];
  U16ToFloats(values, 3, floats);
  EXPECT_FLOAT_EQ(floats[2], 1.0f);
  const float in[4] = {-0.5f, 0.5f, 1.0f, 2.0f};
  uint16_t out[4];
  FloatsToU16(in, 4, out);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 32768);
  EXPECT_EQ(out[2], 65535);
  EXPECT_EQ(out[3], 65535);
}

struct Rect16Case {
  WinRect rect;
  bool fits;
};
class RectToRect16Cases : public testing::TestWithParam<Rect16Case> {};

TEST_P(RectToRect16Cases, FitsOnlyTheSignedRangeAndCopiesLowBits) {
  const WinRect& r = GetParam().rect;
  Rect16 out;
  EXPECT_EQ(RectToRect16(r, &out), GetParam().fits);
  EXPECT_EQ(out.right, static_cast<int16_t>(r.right));
  EXPECT_EQ(out.top, static_cast<int16_t>(r.top));
}

INSTANTIATE_TEST_SUITE_P(Cases, RectToRect16Cases,
                         testing::Values(Rect16Case{{0, 0, 70000, 10}, false}, Rect16Case{{0, 0, 32768, 10}, false},
                                         Rect16Case{{0, 0, 65535, 10}, false}, Rect16Case{{-32768, 0, 32767, 10}, true},
                                         Rect16Case{{0, -40000, 10, 10}, false}, Rect16Case{{1, 2, 3, 4}, true}));

TEST(Geometry, Rect16RoundTripAndOverlap) {
  Rect16 a, b;
  SetRect16(&a, 10, 20, 30, 60);
  EXPECT_EQ(Rect16Width(a), 40);
  EXPECT_EQ(Rect16Height(a), 20);
  WinRect wide;
  Rect16ToRect(a, &wide);
  EXPECT_EQ(wide.left, 20);
  EXPECT_EQ(wide.bottom, 30);
  SetRect16(&b, 29, 59, 40, 70);
  EXPECT_TRUE(Rect16Intersects(a, b));
  SetRect16(&b, 30, 20, 40, 60);
  EXPECT_FALSE(Rect16Intersects(a, b)) << "touching edges do not overlap";
  ShrinkRect16(&a, 5, 2);
  EXPECT_EQ(a.left, 25);
  EXPECT_EQ(a.bottom, 28);
}

TEST(Geometry, MoveInsideLetsLeftAndTopWin) {
  WinRect bounds{0, 0, 100, 100};
  WinRect r{80, 90, 120, 130};
  MoveRectInside(&r, bounds);
  EXPECT_EQ(r.left, 60);
  EXPECT_EQ(r.top, 60);
  WinRect wide{-50, 10, 150, 20};
  MoveRectInside(&wide, bounds);
  EXPECT_EQ(wide.left, 0) << "a rectangle wider than the bounds keeps the left edge";
  EXPECT_EQ(wide.right, 200);
  EXPECT_TRUE(IsRectInside(WinRect{0, 0, 100, 100}, bounds));
  EXPECT_FALSE(IsRectInside(WinRect{0, 0, 101, 100}, bounds));
}

TEST(Geometry, PointsCentresAndDoubleRects) {
  WinPoint p{150, -3};
  ClampPointToRect(&p, WinRect{0, 0, 100, 50});
  EXPECT_EQ(p.x, 99);
  EXPECT_EQ(p.y, 0);
  WinRect a{0, 0, 10, 10};
  CenterRectOn(&a, WinRect{100, 100, 201, 201});
  EXPECT_EQ(a.left, 145);
  EXPECT_EQ(a.top, 145);
  WinRect built;
  EXPECT_EQ(SetRectTlbr(&built, 1, 2, 3, 4)->right, 4);
  EXPECT_EQ(built.top, 1);
  EXPECT_TRUE(IsDRectInside(DRect{1, 1, 2, 2}, DRect{0, 0, 3, 3}));
  EXPECT_FALSE(IsDRectInside(DRect{1, 1, 2.5, 2}, DRect{0, 0, 3, 3}));
}

}  // namespace
