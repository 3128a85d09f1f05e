#include "frames/orientation/preview_orientation.h"

#include <cstring>

namespace {

// Row index = mirrorH x 8 + mirrorV x 4 + quarter turns. A choice is the turn
// followed by the mirrors in the turned picture's axes.
const OrientationFlags kOrientationTable[16] = {
    {0, 0, 0, 0}, {0, 0, 1, 1}, {1, 1, 0, 1}, {1, 1, 1, 0},
    {0, 1, 0, 1}, {1, 0, 1, 1}, {1, 0, 0, 0}, {0, 1, 1, 0},
    {1, 0, 0, 0}, {0, 1, 1, 0}, {0, 1, 0, 1}, {1, 0, 1, 1},
    {1, 1, 0, 1}, {1, 1, 1, 0}, {0, 0, 0, 0}, {0, 0, 1, 1},
};

PreviewOrientation gPreviewOrientation = {0, 0, 0, 0};

const OrientationFlags& CurrentRow() {
  return OrientationTableRow(gPreviewOrientation.mirrorH, gPreviewOrientation.mirrorV,
                             gPreviewOrientation.quarterTurns);
}

}  // namespace

void SetPreviewOrientation(uint8_t mirrorH, uint8_t mirrorV, uint16_t quarterTurns) {
  gPreviewOrientation.mirrorH = mirrorH;
  gPreviewOrientation.mirrorV = mirrorV;
  gPreviewOrientation.quarterTurns = quarterTurns;
  gPreviewOrientation.valid = 1;
}

uint8_t PreviewMirrorH() { return gPreviewOrientation.mirrorH; }
uint8_t PreviewMirrorV() { return gPreviewOrientation.mirrorV; }
int16_t PreviewQuarterTurns() { return static_cast<int16_t>(gPreviewOrientation.quarterTurns); }

void ToggleMirrorH() { gPreviewOrientation.mirrorH = !gPreviewOrientation.mirrorH; }
void ToggleMirrorV() { gPreviewOrientation.mirrorV = !gPreviewOrientation.mirrorV; }
void RotatePreviewQuarter() { gPreviewOrientation.quarterTurns = (gPreviewOrientation.quarterTurns + 1) % 4; }

bool LoadPreviewOrientationRecord(const void* data, uint32_t size) {
  if (data != nullptr && size == kPreviewOrientationRecordSize) {
    PreviewOrientation stored;
    std::memcpy(&stored, data, sizeof stored);
    // A turn count beyond 3 would index past the table.
    if (stored.valid == 1 && stored.quarterTurns <= 3) {
      gPreviewOrientation = stored;
      return true;
    }
  }
  SetPreviewOrientation(0, 0, 0);
  return false;
}

void PreviewOrientationRecordBytes(uint8_t out[kPreviewOrientationRecordSize]) {
  std::memcpy(out, &gPreviewOrientation, kPreviewOrientationRecordSize);
}

uint16_t OrientationTableOffset(uint8_t mirrorH, uint8_t mirrorV, uint16_t turns) {
  const int row = (mirrorH ? 8 : 0) + (mirrorV ? 4 : 0) + turns % 4;
  return static_cast<uint16_t>(row * sizeof(OrientationFlags));
}

const OrientationFlags& OrientationTableRow(uint8_t mirrorH, uint8_t mirrorV, uint16_t turns) {
  return kOrientationTable[OrientationTableOffset(mirrorH, mirrorV, turns) / sizeof(OrientationFlags)];
}

uint8_t OrientationFlipX() { return CurrentRow().flipX; }
uint8_t OrientationFlipY() { return CurrentRow().flipY; }
uint8_t OrientationSwapAxes() { return CurrentRow().quarterTurn; }
