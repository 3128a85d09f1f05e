// Four-character record type codes of the record stores. The packed 32-bit
// value has the first character in its lowest byte, so the file holds the
// characters in reading order; slot numbers are added to the packed value.
#pragma once

#include <cstdint>

typedef uint32_t RecordType;

// Four blanks overwritten from the first byte by the text's (at most four) characters.
constexpr RecordType TagFromString(const char* text) {
  uint32_t bytes[4] = {' ', ' ', ' ', ' '};
  for (int i = 0; i < 4 && text[i] != '\0'; ++i) bytes[i] = static_cast<uint8_t>(text[i]);
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
}

static_assert(TagFromString("AB") == 0x20204241u, "padded with blanks at its end");
