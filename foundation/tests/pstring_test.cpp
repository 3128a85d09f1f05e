// Length-prefixed strings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/pstring.h"

namespace {

std::string Text(const unsigned char* s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

TEST(PString, InPlaceConversionsRoundTrip) {
  char buffer[301];
  for (int i = 0; i < 300; ++i) buffer[i] = static_cast<char>('a' + i % 26);
  buffer[300] = '\0';
  unsigned char* p = PStrFromCInPlace(buffer);
  EXPECT_EQ(p[0], 44) << "the length byte is the length modulo 256";
  EXPECT_EQ(Text(p), std::string("abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqr"));
  EXPECT_STREQ(PStrToC(p), "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqr");
}

TEST(PString, BuildingStaysWithin255Characters) {
  PString s, tail;
  PStrFromC(s, "Frame");
  PStrAppendC(s, " 1");
  PStrFromC(tail, "!");
  PStrAppend(s, tail);
  EXPECT_EQ(Text(s), "Frame 1!");
  PString copy;
  PStrCopy(copy, s);
  EXPECT_EQ(Text(copy), "Frame 1!");

  std::string longText(300, 'x');
  PStrFromC(s, longText.c_str());
  EXPECT_EQ(s[0], 255);
  PStrAppendC(s, "more");
  EXPECT_EQ(s[0], 255) << "appending never runs past the buffer";
}

struct CompareCase {
  const char* a;
  const char* b;
  int expected;
};
class PStringCompare : public testing::TestWithParam<CompareCase> {};

TEST_P(PStringCompare, OrdersBytesUnsignedWithPrefixesFirst) {
  PString a, b;
  PStrFromC(a, GetParam().a);
  PStrFromC(b, GetParam().b);
  EXPECT_EQ(PStrCompare(a, b), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PStringCompare,
                         testing::Values(CompareCase{"abc", "abd", -1}, CompareCase{"abc", "ab", 1},
                                         CompareCase{"", "", 0}, CompareCase{"ab", "abc", -1},
                                         CompareCase{"\xE4", "z", 1}, CompareCase{"same", "same", 0}));

struct NumberCase {
  const char* text;
  int result;
  int32_t value;
};
class PStringToLong : public testing::TestWithParam<NumberCase> {};

TEST_P(PStringToLong, ReadsLeadingNumberOrLeavesValue) {
  PString s;
  PStrFromC(s, GetParam().text);
  int32_t value = 777;
  int result = PStrToLong(s, &value);
  if (GetParam().result == 1) {
    EXPECT_EQ(result, 1);
  } else {
    EXPECT_LT(result, 1);
  }
  EXPECT_EQ(value, GetParam().value);
  EXPECT_EQ(s[0], std::strlen(GetParam().text)) << "the argument is unchanged";
}

INSTANTIATE_TEST_SUITE_P(Cases, PStringToLong,
                         testing::Values(NumberCase{"-12", 1, -12}, NumberCase{"x", 0, 777}, NumberCase{"", 0, 777},
                                         NumberCase{" 42abc", 1, 42}, NumberCase{"99999999999", 1, INT32_MAX}));

TEST(PString, FromLongFormatsDecimal) {
  PString s;
  PStrFromLong(-2147483647 - 1, s);
  EXPECT_EQ(Text(s), "-2147483648");
  PStrFromLong(16001, s);
  EXPECT_EQ(Text(s), "16001");
}

}  // namespace
