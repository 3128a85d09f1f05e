// Separation tables (".ast") that turn RGB into CMYK for the separated output.
#pragma once

#include <cstdint>

// Allocates the two separation tables and their helper tables: 0, or -1 without memory.
int16_t AllocSeparationTables();
// Reads the tables from the files (either may be null): 0, or -999 when they cannot be read.
int16_t LoadSeparationTables(const char* pathA, const char* pathB);
// Frees the tables and clears their ready flag.
void FreeSeparationTables();

// The separation tables are loaded and ready.
bool AreSeparationTablesReady();
// Red, green and blue planes to cyan, magenta, yellow and black planes.
void SeparateLinePlanar8(const uint8_t* red, const uint8_t* green, const uint8_t* blue, uint8_t* cyan,
                         uint8_t* magenta, uint8_t* yellow, uint8_t* black, int32_t count);
// A line of L*a*b* (three 16-bit planes) to four CMYK planes of 16 or 8 bits.
void SeparateLine16(const uint16_t* lab, uint16_t* out, int32_t count);
void SeparateLine16To8(const uint16_t* lab, uint8_t* out, int32_t count);
