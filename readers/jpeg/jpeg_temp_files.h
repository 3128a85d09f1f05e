// What the decoded-lines files need of the platform: unique names in the
// temporary folder.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"

// Creates a new empty file with the prefix "~QB" in the temporary folder; empty on failure.
std::string CreateUniqueTemporaryFile();

// The temporary folder with its trailing separator; empty when it cannot be had.
inline std::string TemporaryFolder() {
  char folder[300];
  return GetTemporaryFolder(folder, sizeof folder) ? std::string(folder) : std::string();
}
