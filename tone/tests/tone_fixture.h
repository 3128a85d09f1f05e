// Frames and engine bindings for the tone tests: new frames come from the
// frame initialiser, and the engine sees a defaults record of the test's own.
#pragma once

#include <cstring>

#include "frames/frame_record_init.h"
#include "tone/tone_engine_state.h"

struct ToneFixture {
  DefaultsBlock defaults;
  FrameRecord frame;
  FrameRecord* current;
  uint8_t lightSource;

  explicit ToneFixture(uint32_t colorMode = kColorModeRgb) : lightSource(0) {
    std::memset(&defaults, 0, sizeof defaults);
    SetDefault(defaults, kDefaultGammaReflective, 1.0);
    SetDefault(defaults, kDefaultGammaTransparency, 1.0);
    FrameInitInputs inputs = {};
    inputs.defaults = &defaults;
    std::memset(&frame, 0, sizeof frame);
    InitFrameRecordWith(&frame, true, inputs);
    frame.colorMode = colorMode;
    current = &frame;
    BindToneEngine(ToneEngineSources{&current, &defaults, &lightSource});
    gToneChannelMask = colorMode == kColorModeRgb ? kToneMaskAllColors : kToneMaskMaster;
  }
  ~ToneFixture() { BindToneEngine(ToneEngineSources{nullptr, nullptr, nullptr}); }
};
