// Decimal numbers as the dialogs show and read them.
#pragma once

#include <cstdint>

// The value with the given number of decimals (rounded half up in magnitude),
// "-" in front of a negative value, "0" before the point below one:
// 3.14159 with 2 decimals "3.14", 0.5 "0.50", 0 decimals "32768" for 32768.2.
void FormatDecimal(unsigned char* out, double value, int decimals);
// Reads a decimal number that may use "," as its point; the PString is edited
// in place (point normalised, sign removed). 0.0 when it starts with no number.
double ParseDecimal(unsigned char* s);
// Appends the number as exactly `digits` digits with leading zeros, cutting
// the text first so that it stays within maxLength (at most 255); a number
// wider than that (or negative) is written as `digits` "x" characters.
void AppendPaddedNumber(char* text, int32_t number, int digits, int maxLength);
