#include "output/orientation_table.h"

namespace {

// A choice is the turn followed by the mirrors in the turned picture's axes,
// as the preview orientation defines it.
const WriterOrientation kOrientationTable[16] = {
    {0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, {1, 1, 0, 0, 1, 1}, {1, 1, 1, 1, 0, 0},
    {0, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 0}, {1, 0, 0, 0, 0, 1}, {0, 1, 1, 0, 0, 0},
    {1, 0, 0, 0, 0, 1}, {0, 1, 1, 0, 0, 0}, {0, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 0},
    {1, 1, 0, 0, 1, 1}, {1, 1, 1, 1, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0},
};

}  // namespace

uint32_t WriterOrientationIndex(uint8_t mirrorH, uint8_t mirrorV, uint16_t turns) {
  return (mirrorH ? 8u : 0u) + (mirrorV ? 4u : 0u) + turns % 4u;
}

const WriterOrientation& WriterOrientationRow(uint32_t index) { return kOrientationTable[index % 16]; }
