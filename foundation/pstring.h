// Length-prefixed strings: a length byte (0..255) followed by that many ANSI
// characters, no terminator. Record names, file names and interface texts
// are built as PStrings and turned into zero-terminated text only at calls
// into the system.
#pragma once

#include <cstdint>

// A buffer that holds any PString.
typedef unsigned char PString[256];

constexpr int kPStringMaxLength = 255;

inline int PStrLength(const unsigned char* s) { return s[0]; }

// Copies a text into a PString, cut at 255 characters; returns destination.
unsigned char* PStrFromC(unsigned char* destination, const char* text);
// Turns a buffer holding a text into a PString of the same characters in
// place; the length byte is the text's length modulo 256. Returns the buffer.
unsigned char* PStrFromCInPlace(char* buffer);
// Turns a buffer holding a PString into a zero-terminated text in place.
char* PStrToC(unsigned char* buffer);
// Copies the length byte and the characters.
void PStrCopy(unsigned char* destination, const unsigned char* source);
// Appends the source's characters, cut so the result stays within 255.
void PStrAppend(unsigned char* destination, const unsigned char* source);
unsigned char* PStrAppendC(unsigned char* destination, const char* text);
// -1, 0 or 1 comparing bytes as unsigned characters; a prefix orders first.
int PStrCompare(const unsigned char* a, const unsigned char* b);
// "%ld" of the value as a PString.
void PStrFromLong(int32_t value, unsigned char* destination);
// Reads a leading decimal number; 1 when one was read (value written), else
// 0 and the value untouched.
int PStrToLong(const unsigned char* s, int32_t* value);

// Copies a PString into a zero-terminated text buffer of at least 256 bytes.
void PStrToText(const unsigned char* s, char* text);
