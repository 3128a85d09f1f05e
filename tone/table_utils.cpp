#include "tone/table_utils.h"

#include <algorithm>
#include <cmath>

#include "foundation/round.h"

namespace {

template <typename T>
double InverseLookup(const T* table, T v, int32_t n) {
  if (!table || n < 1 || v <= table[0]) return 0;
  if (v >= table[n - 1]) return n - 1;
  // The last entry at or below v; the one after it lies above.
  int32_t low = 0, high = n - 1;
  while (high - low > 1) {
    const int32_t middle = low + (high - low) / 2;
    if (table[middle] <= v) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return low + static_cast<double>(v - table[low]) / (table[high] - table[low]);
}

// The table at a fractional position, linear between entries; the last entry beyond the end.
template <typename T>
double Interpolate(const T* table, int32_t n, double position) {
  if (position <= 0) return table[0];
  const int32_t j = static_cast<int32_t>(position);
  if (j >= n - 1) return table[n - 1];
  return table[j] + (position - j) * (static_cast<double>(table[j + 1]) - table[j]);
}

template <typename T>
void ComposeWithInverse(T* out, const T* curve, const T* table, int32_t n, int32_t levels) {
  if (!out || !curve || !table || n < 2) return;
  for (int32_t i = 0; i < n; ++i) {
    const T level = static_cast<T>(TruncRound(static_cast<double>(i) * (levels - 1) / (n - 1)));
    const double position = InverseLookup(table, level, n);
    out[i] = static_cast<T>(std::min<int32_t>(TruncRound(Interpolate(curve, n, position)), levels - 1));
  }
}

}  // namespace

void InvertBytes(uint8_t* bytes, int16_t n) {
  for (int16_t i = 0; bytes && i < n; ++i) bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

double InverseLookup8(const uint8_t* table, uint8_t v, int32_t n) { return InverseLookup(table, v, n); }

double InverseLookup16(const uint16_t* table, uint16_t v, int32_t n) { return InverseLookup(table, v, n); }

void ComposeWithInverse8(uint8_t* out, const uint8_t* curve, const uint8_t* table, int16_t n) {
  ComposeWithInverse(out, curve, table, n, 256);
}

void ComposeWithInverse16(uint16_t* out, const uint16_t* curve, const uint16_t* table, int16_t n) {
  ComposeWithInverse(out, curve, table, n, n);
}

void ComposeTables16(uint16_t* out, const uint16_t* outer, const uint16_t* inner, int32_t nOut, int32_t outLevels,
                     int32_t outerN, int32_t outerLevels, int32_t innerN, int32_t innerLevels) {
  if (!out || !outer || !inner || nOut < 1 || outerN < 1 || innerN < 1 || innerLevels < 2 || outerLevels < 2) return;
  const double toOuterIndex = static_cast<double>(outerN - 1) / (innerLevels - 1);
  const double toOutLevels = static_cast<double>(outLevels - 1) / (outerLevels - 1);
  for (int32_t i = 0; i < nOut; ++i) {
    const double v = innerN == nOut || nOut < 2
                         ? inner[std::min(i, innerN - 1)]
                         : Interpolate(inner, innerN, static_cast<double>(i) * (innerN - 1) / (nOut - 1));
    double w = Interpolate(outer, outerN, v * toOuterIndex);
    if (outLevels != outerLevels) w *= toOutLevels;
    out[i] = static_cast<uint16_t>(std::min(std::max(TruncRound(w), 0), outLevels - 1));
  }
}

void ReverseTable16(uint16_t* table, int32_t n) {
  if (table && n > 1) std::reverse(table, table + n);
}

void EnforceMinimumRanges(uint8_t pairs[8]) {
  for (int c = 0; c < 4; ++c) {
    uint8_t& low = pairs[2 * c];
    uint8_t& high = pairs[2 * c + 1];
    if (low >= 250) {
      low = 250;
      high = 255;
    } else if (high < low + 5) {
      high = static_cast<uint8_t>(low + 5);
    }
  }
}
