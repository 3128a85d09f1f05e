// The frame-editing state that the options dialog copies whole for Cancel
// and Reset and that its undo exchanges with a saved copy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "records/defaults_block.h"
#include "records/frame_record.h"

// What the 8760 bytes hold: the options dialog edits the defaults block and
// the colour-management state in place and undoes, cancels and resets by
// copying this whole area, so both live inside it (the session state's
// defaults are this block). Beside them the two frame templates that the
// frame list copies from: the scratch frame that describes the preview pass,
// and the preview default frame, which is also the frame frozen for the
// transfer and the source of new frames. Then the two tone-offset tables
// built from curves at start-up, and what remains for the colour-management
// state. The frame list's own nodes are separate blocks, outside the area.
struct FrameStateArea {
  DefaultsBlock defaults;
  FrameRecord scratchFrame;        // describes the preview pass; initialised from scratch
  FrameRecord defaultFrame;        // the preview default frame, frozen for the transfer
  uint8_t toneOffsetRaise[256];    // curve(i) - i of the raising curve
  uint8_t toneOffsetLower[256];    // i - curve(i) of the lowering curve
  uint8_t colorManagementState[112];
};

constexpr uint32_t kFrameStateAreaSize = 8760;

static_assert(sizeof(FrameStateArea) == kFrameStateAreaSize, "the area's size");
static_assert(offsetof(FrameStateArea, defaults) == 0, "layout");
static_assert(offsetof(FrameStateArea, scratchFrame) == 3976, "layout");
static_assert(offsetof(FrameStateArea, defaultFrame) == 6056, "layout");
static_assert(offsetof(FrameStateArea, toneOffsetRaise) == 8136, "layout");
static_assert(offsetof(FrameStateArea, toneOffsetLower) == 8392, "layout");
static_assert(offsetof(FrameStateArea, colorManagementState) == 8648, "layout");
