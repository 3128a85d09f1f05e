// The 16-bit intermediate stage of a read: RGB samples go through per-channel
// input gamma tables, the 33 x 33 x 33 colour cube and a shared output gamma
// table, then through the frame's tone curves (the output tables) to the
// output depth. All tables have 14 index bits (16384 entries).
#pragma once

#include <cstdint>
#include <vector>

#include "records/frame_record.h"

constexpr uint16_t kIntermediateTableBits = 14;
constexpr uint32_t kIntermediateTableSize = 16384;

struct IntermediateState {
  uint8_t enabled = 0;
  uint8_t output16 = 0;  // the frame has 16 bits per channel
  uint16_t tableBits = 0;
  uint32_t tableSize = 0;
  std::vector<uint16_t> inputTables[3];
  std::vector<uint16_t> sharedOutputTable;
  std::vector<uint8_t> outputTables8[3];    // 8-bit output (grey frames: only the first)
  std::vector<uint16_t> outputTables16[3];  // 16-bit output, 14-bit values
  std::vector<double> cube;                 // 35937 RGB triples 0..1, or empty
};

extern IntermediateState gIntermediate;

// Clears every field and sets the enable flag. Returns 0.
int16_t ResetIntermediateState(uint8_t enable);
// Frees all tables and switches the stage off. Returns 0.
int16_t FreeIntermediateState();
uint8_t IsIntermediateOn();

// Builds the stage's tables for a read of the frame with the given gamma;
// true at once when the stage is off, false when a table cannot be allocated.
bool BuildIntermediateTables(FrameRecord* frame, double gamma);

// Rows of three 16-bit planes (rows 3 x width samples apart; steps and plane
// offsets in samples). Null buffers, or missing tables, give false.

// Through the input tables, the cube and the shared output table, 16 bits in
// and out. Without a cube the rows are copied.
bool ApplyIntermediate16(const uint16_t* in, uint16_t* out, uint32_t rows, uint32_t width, uint32_t inStep,
                         uint32_t inPlaneOffset, uint32_t outStep, uint32_t outPlaneOffset);
// Through the three 8-bit output tables into three byte planes; greenFirst
// writes channel 0 to plane 1 and channel 1 to plane 0.
bool ApplyIntermediateTo8(const uint16_t* in, uint8_t* out, uint32_t rows, uint32_t width, uint32_t inStep,
                          uint32_t inPlaneOffset, uint32_t outStep, uint32_t outPlaneOffset, bool greenFirst);
// Rows of `planes` planes through the 16-bit output tables (rows planes x width apart).
bool ApplyIntermediateTo16(const uint16_t* in, uint16_t* out, uint32_t rows, uint32_t width, uint32_t planes,
                           uint32_t inStep, uint32_t inPlaneOffset, uint32_t outStep, uint32_t outPlaneOffset);
