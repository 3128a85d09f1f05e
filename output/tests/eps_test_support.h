// What the EPS writer tests share: the templates of resources/eps loaded into
// the scripted resources, and a reader of the files the writer makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/scripted_system.h"

// Puts the eight TEXT templates into the scripted system; false when a file is missing.
bool LoadEpsTemplates(ScriptedSystem& system);

uint32_t Le32(const uint8_t* at);
uint32_t Be32(const uint8_t* at);
// The text from `at` up to the next occurrence of `end` (or the end of the bytes).
std::string TextAt(const std::vector<uint8_t>& bytes, size_t at, size_t count);
// Where the binary data of a section starts ("beginimage\n" behind "%%BeginBinary:"), and the
// number the "%%BeginBinary:" line gives; npos when there is none.
size_t FindBinaryData(const std::vector<uint8_t>& bytes, size_t from, long* declared);
// Decodes "% " hex lines between the first line (excluded) and the end marker.
std::vector<uint8_t> DecodeHexLines(const std::string& block);
