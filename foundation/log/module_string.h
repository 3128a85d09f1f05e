// A string-table text of the data source's module, read up to 256 bytes.
#pragma once

#include <cstdint>
#include <string>

// Empty when the string is missing.
std::string ModuleString(uint32_t id);
