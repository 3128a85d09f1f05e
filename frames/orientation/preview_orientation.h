// The user's mirror and quarter-turn choice for the preview, kept per device
// as the record "PvOt", and the table that turns it into the three flags that
// every image <-> preview mapping applies: flip X, flip Y, quarter turn.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/record_type.h"

// Module state, stored whole (little-endian) as the record.
struct PreviewOrientation {
  uint32_t valid;         // 1 when the state was set
  uint8_t mirrorH;        // mirror left-right
  uint8_t mirrorV;        // mirror top-bottom
  uint16_t quarterTurns;  // 0..3, clockwise
};

static_assert(sizeof(PreviewOrientation) == 8, "stored size");
static_assert(offsetof(PreviewOrientation, valid) == 0, "stored layout");
static_assert(offsetof(PreviewOrientation, mirrorH) == 4, "stored layout");
static_assert(offsetof(PreviewOrientation, mirrorV) == 5, "stored layout");
static_assert(offsetof(PreviewOrientation, quarterTurns) == 6, "stored layout");

constexpr RecordType kPreviewOrientationRecordType = TagFromString("PvOt");
constexpr uint16_t kPreviewOrientationRecordId = 128;
constexpr const char* kPreviewOrientationRecordName = "pPreviewOrientation";
constexpr uint32_t kPreviewOrientationRecordSize = sizeof(PreviewOrientation);

// One row of the orientation table. quarterTurn turns the image a quarter
// clockwise (source row i becomes destination column n-1-i), so width and
// height exchange; rowsReversed = flipY XOR quarterTurn, for the placement of
// transfer bands.
struct OrientationFlags {
  uint8_t flipX;
  uint8_t flipY;
  uint8_t quarterTurn;
  uint8_t rowsReversed;
};

static_assert(sizeof(OrientationFlags) == 4, "table rows of four bytes");

void SetPreviewOrientation(uint8_t mirrorH, uint8_t mirrorV, uint16_t quarterTurns);
uint8_t PreviewMirrorH();
uint8_t PreviewMirrorV();
int16_t PreviewQuarterTurns();
void ToggleMirrorH();
void ToggleMirrorV();
void RotatePreviewQuarter();

// Takes the state from the first "PvOt" record of the device store (data
// null when the store holds none). Only an 8-byte record with valid 1 and a
// turn count of 0..3 is taken (true); anything else gives the default state
// (no mirror, no turn, valid) and false.
bool LoadPreviewOrientationRecord(const void* data, uint32_t size);
// The 8 bytes to store as the record.
void PreviewOrientationRecordBytes(uint8_t out[kPreviewOrientationRecordSize]);


// Byte offset (row x 4) of the table row; any non-zero mirror value counts
// as 1 and the turns count modulo 4.
uint16_t OrientationTableOffset(uint8_t mirrorH, uint8_t mirrorV, uint16_t turns);
const OrientationFlags& OrientationTableRow(uint8_t mirrorH, uint8_t mirrorV, uint16_t turns);

// The flags of the current state. The third is the quarter-turn flag; since
// width and height exchange under it, its users treat it as the axis swap.
uint8_t OrientationFlipX();
uint8_t OrientationFlipY();
uint8_t OrientationSwapAxes();
