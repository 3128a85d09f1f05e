// Small values the progress layer keeps for the whole source: the batch
// counter record, the pale button face and the names of the colour modes.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_type.h"

enum : uint32_t {
  kLineArtString = 16100,  // "Strich"
  kGrayString = 16101,     // "Grau"
  kRgbString = 16102,      // "RGB"
  kCmykString = 16103,     // "CMYK"
  kLabString = 16104,      // "Lab"
};

// The batch counter: record NBat id 1, 4 bytes; the low 16 bits count, the high 16 bits are carried along.
constexpr RecordType kBatchCounterType = TagFromString("NBat");
constexpr int32_t kBatchCounterId = 1;

// Sets the counter of the store's NBat record to 0; a missing record stays missing.
bool ResetBatchCounterIn(FileHandle store);
// The same on the application store, opened for the call when it is closed.
void ResetBatchCounter();

// A channel of the pale button face: 255 - (255 - c) x 0.3, truncated.
uint8_t PaleChannel(uint8_t channel);
// A COLORREF-ordered colour with every channel made pale.
uint32_t PaleColor(uint32_t color);

// The string id of the colour mode's name.
uint32_t ColorModeNameId(bool color, int32_t bitsPerSample, int32_t colorMode);
