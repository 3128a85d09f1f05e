#include "foundation/decimal.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/pstring.h"

void FormatDecimal(unsigned char* out, double value, int decimals) {
  bool negative = value < 0;
  if (negative) value = -value;
  double scale = 1.0;
  for (int i = 0; i < decimals; ++i) scale *= 10.0;
  double y = (value * scale + 0.5) / scale;
  char text[64];
  if (decimals == 0) {
    // The whole rounded value: pixel counts of 32768 and more must not wrap.
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(y));
  } else {
    long long whole = static_cast<long long>(y);
    bool belowOne = y < 1.0;
    // Below one a spare leading 1 keeps the fraction's leading zeros; above
    // it the whole part is shifted by one digit. That spare digit becomes the point.
    if (belowOne) y += 1.0;
    long long digits = whole * 10 * static_cast<long long>(scale) + static_cast<long long>((y - whole) * scale);
    int length = std::snprintf(text + 1, sizeof text - 1, "%lld", digits);
    text[1 + length - decimals - 1] = '.';
    text[0] = '0';
    if (!belowOne) std::memmove(text, text + 1, static_cast<size_t>(length) + 1);
  }
  PStrFromC(out, negative ? "-" : "");
  PStrAppendC(out, text);
}

double ParseDecimal(unsigned char* s) {
  int length = s[0];
  char* chars = reinterpret_cast<char*>(s + 1);
  for (int i = 0; i < length; ++i)
    if (chars[i] == ',') chars[i] = '.';
  double sign = 1.0;
  if (length > 0 && (chars[0] == '-' || chars[0] == '+')) {
    if (chars[0] == '-') sign = -1.0;
    std::memmove(chars, chars + 1, static_cast<size_t>(--length));
    s[0] = static_cast<unsigned char>(length);
  }
  char text[256];
  PStrToText(s, text);
  if (!std::isdigit(static_cast<unsigned char>(text[0])) && text[0] != '.' && text[0] != '-') return 0.0;
  double whole = static_cast<double>(std::strtoll(text, nullptr, 10));
  double fraction = 0.0, divisor = 1.0;
  if (const char* point = std::strchr(text, '.')) {
    for (const char* p = point + 1; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
      fraction = fraction * 10.0 + (*p - '0');
      divisor *= 10.0;
    }
  }
  return sign * (whole + fraction / divisor);
}

void AppendPaddedNumber(char* text, int32_t number, int digits, int maxLength) {
  if (maxLength > 255) maxLength = 255;
  if (digits > maxLength) digits = maxLength;
  if (digits < 0) digits = 0;
  size_t keep = static_cast<size_t>(maxLength - digits);
  if (std::strlen(text) > keep) text[keep] = '\0';
  char numberText[16];
  int width = std::snprintf(numberText, sizeof numberText, "%0*ld", digits, static_cast<long>(number));
  char* end = text + std::strlen(text);
  if (number < 0 || width > digits) {
    std::memset(end, 'x', static_cast<size_t>(digits));
    end[digits] = '\0';
  } else {
    std::memcpy(end, numberText, static_cast<size_t>(width) + 1);
  }
}
