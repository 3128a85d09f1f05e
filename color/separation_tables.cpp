#include "color/separation_tables.h"

// Not built yet: nothing to allocate.
int16_t AllocSeparationTables() { return 0; }
// Not built yet: no table can be read.
int16_t LoadSeparationTables(const char*, const char*) { return -999; }
// Not built yet: nothing to free.
void FreeSeparationTables() {}

// Not built yet: no tables, and the separation leaves the planes as they are.
bool AreSeparationTablesReady() { return false; }
void SeparateLinePlanar8(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t*,
                         int32_t) {}
void SeparateLine16(const uint16_t*, uint16_t*, int32_t) {}
void SeparateLine16To8(const uint16_t*, uint8_t*, int32_t) {}
