// Lookup tables that bring 16-bit samples to the output depth: the top bits of
// a sample index the table (at most 14 bits, 16384 entries), and the entry is
// the output value. Also the line operations of the 16-bit intermediate stage
// that pass samples through such tables to and from unit doubles.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint16_t kMaxTableBits = 14;

// A table of 2^inBits entries of the gamma curve with outBits output values
// (the tone engine's gamma table). inBits above 14 are capped to 14; the bits
// actually used are written back. False for null outputs or no memory.
bool CreateReductionTable(std::vector<uint16_t>* table, uint16_t* inBitsOut, uint16_t* outBitsOut, uint16_t inBits,
                          uint16_t outBits, double gamma);
void FreeReductionTable(std::vector<uint16_t>* table, uint16_t* inBits, uint16_t* outBits);

// Strides and plane offsets are in samples. Every operation is false, and
// writes nothing, for null buffers or a table smaller than its bits say.

// out = table[in >> (16 - inBits)] << (16 - outBits), for rows of `planes`
// planes; with swapFirstPlanes output plane 0 takes input plane 1 and plane 1
// takes plane 0.
bool ApplyReductionTable(const std::vector<uint16_t>& table, uint16_t inBits, uint16_t outBits, const uint16_t* in,
                         uint16_t* out, uint32_t rows, uint32_t width, uint32_t planes, uint32_t inRowStride,
                         uint32_t inPlaneStride, uint32_t outRowStride, uint32_t outPlaneStride,
                         bool swapFirstPlanes);
// out byte = table[in >> (16 - inBits)], from a table of 16-bit or of byte entries.
bool ReduceLineTo8(const std::vector<uint16_t>& table, uint16_t inBits, const uint16_t* in, uint8_t* out,
                   uint32_t count, uint32_t inStep, uint32_t outStep);
bool ReduceLineTo8(const std::vector<uint8_t>& table, uint16_t inBits, const uint16_t* in, uint8_t* out,
                   uint32_t count, uint32_t inStep, uint32_t outStep);
// One line of ApplyReductionTable.
bool ReduceLineTo16(const std::vector<uint16_t>& table, uint16_t inBits, uint16_t outBits, const uint16_t* in,
                    uint16_t* out, uint32_t count, uint32_t inStep, uint32_t outStep);
// out = table[in >> (16 - inBits)] / (2^outBits - 1).
bool NormaliseLine(const std::vector<uint16_t>& table, uint16_t inBits, uint16_t outBits, const uint16_t* in,
                   double* out, uint32_t count, uint32_t inStep, uint32_t outStep);
// v = in x (2^bits - 1); below the top the two neighbouring entries (each
// shifted left by shift) are interpolated and rounded, from the top on the
// last entry is taken (shifted); the result is held to 0..65535.
bool DenormaliseLine(const std::vector<uint16_t>& table, uint16_t bits, uint16_t shift, const double* in,
                     uint16_t* out, uint32_t count, uint32_t inStep, uint32_t outStep);

