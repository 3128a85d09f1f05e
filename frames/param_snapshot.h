// One-step undo of the correction tools and of the frame operations: a tool
// saves the settings before it changes them; the undo command exchanges them
// with the saved copy, and exchanging again redoes the change.
#pragma once

#include <cstdint>

#include "records/frame_record.h"
#include "records/frame_state_area.h"
#include "records/tone_block.h"

constexpr int kActivePointCount = 7;

// The live settings that the parameter snapshot covers, bound once by the
// subsystems that own them. The current frame is reached through its pointer,
// which moves whenever another frame becomes current.
struct ParamSnapshotSources {
  FrameRecord* const* currentFrame;
  ToneBlock* toneWorkingCopy;
  uint8_t* channelFlag;     // the channel selection of the tone tools
  uint8_t* activePoints;    // the seven active-point flags of the gradation points
};

void BindParamSnapshot(const ParamSnapshotSources& sources);

// The current frame, the tone working copy and the channel flag.
void SaveParamSnapshot();
void SwapParamSnapshot();
// The same plus the seven active-point flags.
void SaveParamSnapshotFull();
void SwapParamSnapshotFull();
// The same without the channel flag.
void SaveParamSnapshotNoFlag();
void SwapParamSnapshotNoFlag();

void BindFrameStateSnapshot(FrameStateArea* area);
void SaveFrameStateSnapshot();
void SwapFrameStateSnapshot();
