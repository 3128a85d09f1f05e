// The writers' orientation table: for each mirror and turn choice of a frame,
// how the second pass reorients the first-pass file into the output.
#pragma once

#include <cstdint>

struct WriterOrientation {
  uint8_t reverseEachRow;   // A
  uint8_t reverseRowOrder;  // B
  uint8_t exchangeAxes;     // C: a quarter turn clockwise
  uint8_t blocksFromEnd;    // D: column blocks taken from the end of the rows
  uint8_t readBackwards;    // E: row blocks read from the end of the file
  uint8_t rowsStayRows;     // F: mirroring only
};
static_assert(sizeof(WriterOrientation) == 6, "rows of six flag bytes");

// The row index: (mirror horizontal ? 8 : 0) + (mirror vertical ? 4 : 0) + quarter turns modulo 4.
uint32_t WriterOrientationIndex(uint8_t mirrorH, uint8_t mirrorV, uint16_t turns);
const WriterOrientation& WriterOrientationRow(uint32_t index);
