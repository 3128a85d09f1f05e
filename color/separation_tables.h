// Separation tables (".ast") that turn RGB into CMYK for the separated output.
#pragma once

#include <cstdint>

// Allocates the two separation tables and their helper tables: 0, or -1 without memory.
int16_t AllocSeparationTables();
// Reads the tables from the files (either may be null): 0, or -999 when they cannot be read.
int16_t LoadSeparationTables(const char* pathA, const char* pathB);
// Frees the tables and clears their ready flag.
void FreeSeparationTables();
