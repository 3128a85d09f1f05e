#include "twain/transfer_state.h"

#include "foundation/memory.h"

BandCounters gBandCounters;
LeftoverRows gLeftoverRows;

void DropLeftoverRows() {
  FreeBlock(gLeftoverRows.rows);
  gLeftoverRows = LeftoverRows{};
}
