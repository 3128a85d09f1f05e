// Small operations on lookup tables: inversion of rising tables, composition
// and reversal.
#pragma once

#include <cstdint>

// Bitwise complement in place.
void InvertBytes(uint8_t* bytes, int16_t n);

// The fractional index at which a rising table of n entries reaches v:
// 0 at or below the first entry, n - 1 at or above the last, linear between
// the two neighbouring entries.
double InverseLookup8(const uint8_t* table, uint8_t v, int32_t n);
double InverseLookup16(const uint16_t* table, uint16_t v, int32_t n);

// out[i] = curve sampled (linear, rounded) where the rising table reaches
// i x (levels - 1) / (n - 1): 256 levels for bytes, n levels for the 16-bit
// tables.
void ComposeWithInverse8(uint8_t* out, const uint8_t* curve, const uint8_t* table, int16_t n);
void ComposeWithInverse16(uint16_t* out, const uint16_t* curve, const uint16_t* table, int16_t n);

// out = outer after inner, each table read with linear interpolation and the
// values rescaled between the tables' level ranges.
void ComposeTables16(uint16_t* out, const uint16_t* outer, const uint16_t* inner, int32_t nOut, int32_t outLevels,
                     int32_t outerN, int32_t outerLevels, int32_t innerN, int32_t innerLevels);

// Reverses the order of n entries in place.
void ReverseTable16(uint16_t* table, int32_t n);

// Film limit pairs (low, high) of four channels, in place: a low of 250 or
// more gives 250/255, otherwise the high is raised to at least low + 5.
void EnforceMinimumRanges(uint8_t pairs[8]);
