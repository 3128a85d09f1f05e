// The tone engine's own state (the working copy the tone tools edit and the
// channel selection) and what it reads of the rest of the data source: the
// current frame, the defaults record and the light source. The session binds
// those once; until it does, the engine sees no frame, a zero defaults record
// and a reflective original.
#pragma once

#include <cstdint>

#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "records/tone_block.h"

// The block the tone tools edit: the current frame's master block, or the
// average of the selected colour channels of an RGB frame.
extern ToneBlock gToneWorkingCopy;
// Bit 0 master, bits 1-3 colour channels 1-3.
extern uint8_t gToneChannelMask;
// Where grey comes from in a colour source: 0 the average of the three
// channels, 1 to 3 red, green, blue.
extern uint8_t gGreyChannelChoice;

constexpr uint8_t kToneMaskMaster = 1;
constexpr uint8_t kToneMaskAllColors = 14;
constexpr uint32_t kColorModeRgb = 2;

struct ToneEngineSources {
  FrameRecord* const* currentFrame;   // the frame list's current frame
  DefaultsBlock* defaults;            // the session's defaults record
  const uint8_t* lightSourceFlag;     // non-zero for a transparent original
};

void BindToneEngine(const ToneEngineSources& sources);

// Null when no frame is current.
FrameRecord* ToneCurrentFrame();
DefaultsBlock& ToneDefaults();
bool ToneTransparentOriginal();

// The original is a film negative whose tone tables take the negative passes:
// negative mode on and the second film kind off.
bool ToneNegativeOriginal();
// Input colour management through the IT8 calibration.
bool ToneCalibrationInForce();
