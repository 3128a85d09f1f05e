#include "readers/planar_samples.h"

#include <cstring>

namespace {

uint32_t Sample(const PlanarLine& line, int channel, uint32_t column) {
  if (line.bits == 8) return line.planes[channel][column];
  uint16_t word;
  std::memcpy(&word, line.planes[channel] + 2 * size_t{column}, 2);
  return word;
}

}  // namespace

void DeliverPlanarSamples(const PlanarLine& line, int channel, bool greyMean, uint32_t firstColumn, uint32_t count,
                          const uint8_t* table, int outputDepth, void* out) {
  auto* bytesOut = static_cast<uint8_t*>(out);
  auto* wordsOut = static_cast<uint16_t*>(out);
  for (uint32_t k = 0; k < count; ++k) {
    uint32_t column = firstColumn + k;
    uint32_t value = greyMean ? (Sample(line, 0, column) + Sample(line, 1, column) + Sample(line, 2, column) + 1) / 3
                              : Sample(line, channel, column);
    if (line.bits == 8) {
      bytesOut[k] = static_cast<uint8_t>(table ? table[value] : value);
    } else if (table) {
      uint8_t entry = table[value >> 2];
      if (outputDepth == 16) {
        wordsOut[k] = static_cast<uint16_t>(entry * 256);
      } else {
        bytesOut[k] = entry;
      }
    } else if (outputDepth == 16) {
      wordsOut[k] = static_cast<uint16_t>(value);
    } else {
      bytesOut[k] = static_cast<uint8_t>(value >> 8);
    }
  }
}
