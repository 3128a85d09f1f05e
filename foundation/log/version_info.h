// The module's own version block: "FileDescription" and "FileVersion" of the
// German string block "040704b0". Buffers are 256 bytes; missing values give
// empty texts.
#pragma once

// "%s v%s" of description and version.
void ReadFileVersion(char* text);
// The version alone.
void ReadVersionNumber(char* text);
// Looks both values up in a version block read from a file; false when either is missing.
bool QueryVersionStrings(const void* versionBlock, const char* language, char* description, char* version);
