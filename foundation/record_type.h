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

// The code of a numbered slot of a family (frame lists, frame sets): the slot
// number added to the packed value, which advances the first character, so
// slot 1 of "Efr0" is "Ffr0".
constexpr RecordType RecordTypeOfSlot(RecordType slotZero, int slot) {
  return slotZero + static_cast<RecordType>(slot);
}

static_assert(RecordTypeOfSlot(TagFromString("Efr0"), 1) == TagFromString("Ffr0"), "first character advances");
