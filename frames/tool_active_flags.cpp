#include "frames/tool_active_flags.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/gradation_points.h"
#include "tone/tone_engine_state.h"

namespace {

// The percents of the neutral gradation points, from point 6 down to point 0.
constexpr int kNeutralPercents[kGradationPoints] = {0, 12, 25, 50, 75, 87, 100};

bool AnyNonZero(const int16_t* values, int count) {
  return std::any_of(values, values + count, [](int16_t v) { return v != 0; });
}

bool ColourToolActive(const FrameRecord& frame, const DefaultsBlock& defaults) {
  if (std::memcmp(frame.colorValues, DefaultsBytes(defaults, kDefaultColorValues), sizeof frame.colorValues) != 0)
    return true;
  if (std::any_of(std::begin(frame.colorExtras), std::end(frame.colorExtras), [](uint8_t v) { return v != 0; }))
    return true;
  if (frame.selectiveColorMode == 1) return AnyNonZero(frame.selectiveColorMatrix, 36);
  return AnyNonZero(frame.colorMatrix12, 72);
}

int Percent(uint16_t value) { return (256 - value) * 100 / 256; }

bool GradationChanged(const ToneBlock& block) {
  uint16_t x[kGradationPoints];
  uint16_t y[kGradationPoints];
  EvaluateGradationPoints(block, x, y);
  for (int i = 0; i < kGradationPoints; ++i) {
    const int p = kGradationPoints - 1 - i;
    if (Percent(block.gradationY[p]) != kNeutralPercents[i] || Percent(y[p]) != kNeutralPercents[i]) return true;
  }
  return false;
}

bool HistogramChanged(const ToneBlock& block, const DefaultsBlock& defaults) {
  return block.inputLow != 0 || (block.inputHigh != 255 && block.inputHigh != 256) ||
         block.outputLow != GetDefault(defaults, kDefaultToneOutputLow) ||
         block.outputHigh != GetDefault(defaults, kDefaultToneOutputHigh);
}

}  // namespace

void ComputeToolActiveFlags(FrameRecord* frame) {
  if (!frame) return;
  const DefaultsBlock& defaults = gDefaults;
  const bool rgb = frame->colorMode == kColorModeRgb;
  const int first = rgb ? 1 : 0;
  const int last = rgb ? 3 : 0;
  bool gradation = false;
  bool histogram = false;
  bool fourth = false;
  for (int k = first; k <= last; ++k) {
    gradation = gradation || GradationChanged(frame->tone[k]);
    histogram = histogram || HistogramChanged(frame->tone[k], defaults);
    fourth = fourth || AnyNonZero(frame->globalColorOffset[k].values, 5);
  }
  frame->colorToolActive = ColourToolActive(*frame, defaults);
  frame->gradationToolActive = gradation;
  frame->histogramToolActive = histogram;
  frame->fourthToolActive = fourth;
}
