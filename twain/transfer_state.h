// Module data of the image transfers: how far the current band has been
// delivered, and the rows kept back for the one host that takes whole blocks only.
#pragma once

#include <cstdint>

// Rows of the current band and how many of them the host has. Both 0 at the
// start of a transfer; when they are equal the next band is produced.
struct BandCounters {
  uint16_t rows;
  uint16_t delivered;
};
extern BandCounters gBandCounters;

// Finished host rows (each as wide as the host's row bytes) held back until
// the next band completes a block.
struct LeftoverRows {
  uint32_t count;
  uint8_t* rows;
};
extern LeftoverRows gLeftoverRows;

// Frees the kept rows, if any, and forgets them.
void DropLeftoverRows();
