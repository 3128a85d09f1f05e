// A text of the module's string table as a string (empty when it has none).
#pragma once

#include <cstdint>
#include <string>

std::string ResourceText(uint32_t id);
