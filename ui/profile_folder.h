// The folder of separation tables, "CB Profile\" in the settings folder, and
// the loading of a table from it.
#pragma once

#include <cstdint>

constexpr uint16_t kProfileFolderMissing = 65535;

// The folder path (ending in "\") into a buffer of 256 bytes; false when the
// settings folder cannot be found or the path does not fit.
bool ProfileFolderPath(char* path);
// Allocates the separation tables and loads the named table from the
// folder: 0, the colour services' error code, or kProfileFolderMissing.
uint16_t LoadSeparationTableFromFolder(const char* name);
// Frees the separation tables (end of a scan session or a job item); 0.
int16_t ReleaseSeparationTables();
