// Byte swaps, bit arrays (most significant bit first), grey conversion of
// planar RGB rows, hexadecimal digit pairs and ASCII upper case.
#pragma once

#include <cstdint>

void SwapBytes16(uint16_t* value);
void SwapBytes32(uint32_t* value);
void SwapWords32(uint32_t* value);
void InvertByteSpan(uint8_t* bytes, uint32_t count);
inline void InvertBuffer(uint8_t* bytes, uint32_t count) { InvertByteSpan(bytes, count); }

// Bit i lives in byte i >> 3 under the mask 128 >> (i & 7).
inline bool TestBit(const uint8_t* bits, uint32_t i) { return (bits[i >> 3] & (128u >> (i & 7))) != 0; }
inline void SetBit(uint8_t* bits, uint32_t i) { bits[i >> 3] |= static_cast<uint8_t>(128u >> (i & 7)); }
inline void ClearBit(uint8_t* bits, uint32_t i) { bits[i >> 3] &= static_cast<uint8_t>(~(128u >> (i & 7))); }
// count bits into count bytes: 0 for a set bit, 255 for a clear one.
void ExpandBitsToBytes(const uint8_t* bits, uint32_t count, uint8_t* bytes);

// Rows of three planes (R, G, B, each `width` samples) into one grey plane:
// channel 1..3 picks red, green or blue, 0 takes (R + G + B + 1) / 3. With
// toBitmap the grey rows become 1 bit per pixel (set below the middle value),
// most significant bit first, each row padded to whole bytes.
void RgbPlanes16ToGrey(const uint16_t* source, uint16_t* target, int rows, int width, int channel, bool toBitmap);
void RgbPlanes8ToGrey(const uint8_t* source, uint8_t* target, int rows, int width, int channel, bool toBitmap);

// Two upper-case hexadecimal digits, the first in the low byte.
bool HexPairToByte(uint16_t pair, uint8_t* value);
bool ByteToHexPair(uint32_t value, uint16_t* pair);
void UpperCaseAscii(char* text);
