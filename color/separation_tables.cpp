#include "color/separation_tables.h"

// Not built yet: nothing to allocate.
int16_t AllocSeparationTables() { return 0; }
// Not built yet: no table can be read.
int16_t LoadSeparationTables(const char*, const char*) { return -999; }
// Not built yet: nothing to free.
void FreeSeparationTables() {}
