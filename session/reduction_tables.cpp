#include "session/reduction_tables.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "foundation/round.h"
#include "tone/gamma_tables.h"

namespace {

template <typename Entry>
bool TableFits(const std::vector<Entry>& table, uint16_t bits) {
  return bits >= 1 && bits <= kMaxTableBits && table.size() >= (size_t{1} << bits);
}

template <typename Entry>
bool ReduceTo8(const std::vector<Entry>& table, uint16_t inBits, const uint16_t* in, uint8_t* out, uint32_t count,
               uint32_t inStep, uint32_t outStep) {
  if (!in || !out || !TableFits(table, inBits)) return false;
  const unsigned shift = 16 - inBits;
  const Entry* t = table.data();
  for (uint32_t i = 0; i < count; ++i) out[i * outStep] = static_cast<uint8_t>(t[in[i * inStep] >> shift]);
  return true;
}

}  // namespace

bool CreateReductionTable(std::vector<uint16_t>* table, uint16_t* inBitsOut, uint16_t* outBitsOut, uint16_t inBits,
                          uint16_t outBits, double gamma) {
  if (!table || !inBitsOut || !outBitsOut || inBits == 0 || outBits == 0 || outBits > 16) return false;
  inBits = std::min(inBits, kMaxTableBits);
  const int32_t entries = 1 << inBits;
  try {
    table->assign(entries, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  BuildGammaTable(table->data(), entries, 1 << outBits, gamma);
  *inBitsOut = inBits;
  *outBitsOut = outBits;
  return true;
}

void FreeReductionTable(std::vector<uint16_t>* table, uint16_t* inBits, uint16_t* outBits) {
  if (table) std::vector<uint16_t>().swap(*table);
  if (inBits) *inBits = 0;
  if (outBits) *outBits = 0;
}

bool ReduceLineTo16(const std::vector<uint16_t>& table, uint16_t inBits, uint16_t outBits, const uint16_t* in,
                    uint16_t* out, uint32_t count, uint32_t inStep, uint32_t outStep) {
  if (!in || !out || !TableFits(table, inBits) || outBits == 0 || outBits > 16) return false;
  const unsigned inShift = 16 - inBits;
  const unsigned outShift = 16 - outBits;
  const uint16_t* t = table.data();
  for (uint32_t i = 0; i < count; ++i) out[i * outStep] = static_cast<uint16_t>(uint32_t{t[in[i * inStep] >> inShift]} << outShift);
  return true;
}

bool ApplyReductionTable(const std::vector<uint16_t>& table, uint16_t inBits, uint16_t outBits, const uint16_t* in,
                         uint16_t* out, uint32_t rows, uint32_t width, uint32_t planes, uint32_t inRowStride,
                         uint32_t inPlaneStride, uint32_t outRowStride, uint32_t outPlaneStride,
                         bool swapFirstPlanes) {
  if (!in || !out || !TableFits(table, inBits) || outBits == 0 || outBits > 16) return false;
  for (uint32_t row = 0; row < rows; ++row) {
    for (uint32_t k = 0; k < planes; ++k) {
      const uint32_t source = swapFirstPlanes && k < 2 && planes >= 2 ? 1 - k : k;
      ReduceLineTo16(table, inBits, outBits, in + size_t{row} * inRowStride + size_t{source} * inPlaneStride,
                     out + size_t{row} * outRowStride + size_t{k} * outPlaneStride, width, 1, 1);
    }
  }
  return true;
}

bool ReduceLineTo8(const std::vector<uint16_t>& table, uint16_t inBits, const uint16_t* in, uint8_t* out,
                   uint32_t count, uint32_t inStep, uint32_t outStep) {
  return ReduceTo8(table, inBits, in, out, count, inStep, outStep);
}

bool ReduceLineTo8(const std::vector<uint8_t>& table, uint16_t inBits, const uint16_t* in, uint8_t* out,
                   uint32_t count, uint32_t inStep, uint32_t outStep) {
  return ReduceTo8(table, inBits, in, out, count, inStep, outStep);
}

bool NormaliseLine(const std::vector<uint16_t>& table, uint16_t inBits, uint16_t outBits, const uint16_t* in,
                   double* out, uint32_t count, uint32_t inStep, uint32_t outStep) {
  if (!in || !out || !TableFits(table, inBits) || outBits == 0 || outBits > 16) return false;
  const unsigned shift = 16 - inBits;
  const double top = static_cast<double>((1u << outBits) - 1);
  const uint16_t* t = table.data();
  for (uint32_t i = 0; i < count; ++i) out[i * outStep] = t[in[i * inStep] >> shift] / top;
  return true;
}

bool DenormaliseLine(const std::vector<uint16_t>& table, uint16_t bits, uint16_t shift, const double* in,
                     uint16_t* out, uint32_t count, uint32_t inStep, uint32_t outStep) {
  if (!in || !out || !TableFits(table, bits) || shift > 16) return false;
  const uint32_t last = (1u << bits) - 1;
  const double top = last;
  const uint16_t* t = table.data();
  for (uint32_t i = 0; i < count; ++i) {
    // Colour maths can step a little outside 0..1; below 0 (or not a number) is the first entry.
    const double v = std::max(0.0, in[i * inStep] * top);
    double value;
    if (v < top) {
      const uint32_t k = static_cast<uint32_t>(v);
      const double f = v - k;
      value = TruncRound((uint32_t{t[k]} << shift) * (1.0 - f) + (uint32_t{t[k + 1]} << shift) * f);
    } else {
      value = uint32_t{t[last]} << shift;
    }
    out[i * outStep] = static_cast<uint16_t>(std::min(std::max(value, 0.0), 65535.0));
  }
  return true;
}

