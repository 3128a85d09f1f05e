// What the decoded-lines files need of the platform: the temporary folder,
// unique names in it, and a stamp that changes when a file is rewritten.
#pragma once

#include <cstdint>
#include <string>

// The temporary folder with its trailing separator.
std::string TemporaryFolder();
// Creates a new empty file with the prefix "~QB" in the temporary folder; empty on failure.
std::string CreateUniqueTemporaryFile();

struct SourceFileStamp {
  uint64_t size = 0;
  uint64_t writeTime = 0;  // platform units; only compared
};
bool GetSourceFileStamp(const char* path, SourceFileStamp* stamp);
