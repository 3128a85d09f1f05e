#include "tone/tone_working_copy.h"

#include <algorithm>
#include <cstring>

#include "tone/tone_engine_state.h"

namespace {

constexpr int kToneTop = 256;
constexpr int kInputGap = 20;    // least distance of inputLow below inputHigh
constexpr int kOutputGap = 10;   // least distance of the low outputs below the high ones

// The five expert values at 48-56, in field order.
int16_t* ExpertValues(ToneBlock* block) { return &block->contrast; }
const int16_t* ExpertValues(const ToneBlock* block) { return &block->contrast; }
constexpr int kExpertCount = 5;

// The pairs 32/34, 36/38, 60/62.
int16_t* RangeValue(ToneBlock* block, int i) {
  int16_t* fields[6] = {&block->inputLow, &block->inputHigh, &block->outputLow,
                        &block->outputHigh, &block->endLow, &block->endHigh};
  return fields[i];
}
constexpr int kRangeCount = 6;

int16_t ClampTone(int value) { return static_cast<int16_t>(std::min(std::max(value, 0), kToneTop)); }

int Delta(int16_t now, int16_t before) { return static_cast<int>(now) - static_cast<int>(before); }

void AverageSelectedChannels(const FrameRecord& frame, uint8_t mask, ToneBlock* copy) {
  int32_t x[7] = {}, y[7] = {}, range[kRangeCount] = {}, expert[kExpertCount] = {};
  double gamma = 0;
  int count = 0, shifted = 0;
  for (int c = 1; c <= 3; ++c) {
    if (!(mask & (1 << c))) continue;
    ToneBlock channel = frame.tone[c];
    for (int i = 0; i < 7; ++i) {
      x[i] += channel.gradationX[i];
      y[i] += channel.gradationY[i];
    }
    for (int i = 0; i < kRangeCount; ++i) range[i] += *RangeValue(&channel, i);
    for (int i = 0; i < kExpertCount; ++i) expert[i] += ExpertValues(&channel)[i];
    gamma += channel.gammaFactor;
    ++count;
    if (channel.shiftMode != 0) ++shifted;
  }
  // A selection without a colour channel leaves the averaged fields at 0.
  const int n = std::max(count, 1);
  for (int i = 0; i < 7; ++i) {
    copy->gradationX[i] = static_cast<uint16_t>(x[i] / n);
    copy->gradationY[i] = static_cast<uint16_t>(y[i] / n);
  }
  for (int i = 0; i < kRangeCount; ++i) *RangeValue(copy, i) = static_cast<int16_t>(range[i] / n);
  for (int i = 0; i < kExpertCount; ++i) ExpertValues(copy)[i] = static_cast<int16_t>(expert[i] / n);
  copy->gammaFactor = count ? gamma / count : 0.0;
  copy->shiftMode = (count && 2 * shifted >= count) ? 1 : 0;
}

// Keeps a channel's gradation points on the 0..256 scale with rising x, as
// the spline needs them, whatever the differences made of them.
void KeepGradationPointsValid(ToneBlock* block) {
  for (int i = 0; i < 7; ++i) {
    block->gradationY[i] = static_cast<uint16_t>(ClampTone(static_cast<int16_t>(block->gradationY[i])));
    block->gradationX[i] = static_cast<uint16_t>(ClampTone(static_cast<int16_t>(block->gradationX[i])));
  }
  for (int i = 1; i < 7; ++i) {
    block->gradationX[i] = std::max<uint16_t>(block->gradationX[i], block->gradationX[i - 1] + 1);
  }
  block->gradationX[6] = std::min<uint16_t>(block->gradationX[6], kToneTop);
  for (int i = 5; i >= 0; --i) {
    block->gradationX[i] = std::min<uint16_t>(block->gradationX[i], block->gradationX[i + 1] - 1);
  }
}

// One output pair (output or end values) moved by the working copy's change:
// a moved end keeps its gap to the pair's other end and to the other pair.
void StoreOutputPair(int16_t* low, int16_t* high, int16_t wLow, int16_t wHigh, int16_t beforeLow,
                     int16_t beforeHigh, int otherLow, int otherHigh) {
  int newLow = *low + Delta(wLow, beforeLow);
  int newHigh = *high + Delta(wHigh, beforeHigh);
  if (wLow != beforeLow) newLow = std::min({newLow, newHigh - kOutputGap, otherHigh - kOutputGap});
  if (wHigh != beforeHigh) newHigh = std::max({newHigh, newLow + kOutputGap, otherLow + kOutputGap});
  *low = ClampTone(newLow);
  *high = ClampTone(newHigh);
}

void ApplyChanges(ToneBlock* b, const ToneBlock& w, const ToneBlock& before) {
  for (int i = 0; i < 7; ++i) {
    b->gradationY[i] = static_cast<uint16_t>(b->gradationY[i] + w.gradationY[i] - before.gradationY[i]);
    b->gradationX[i] = static_cast<uint16_t>(b->gradationX[i] + w.gradationX[i] - before.gradationX[i]);
  }
  KeepGradationPointsValid(b);

  // The ranges are worked in full integers, so that no sum wraps before the clamp.
  int inLow = b->inputLow + Delta(w.inputLow, before.inputLow);
  int inHigh = b->inputHigh + Delta(w.inputHigh, before.inputHigh);
  if (w.inputLow != before.inputLow && inLow > inHigh - kInputGap) inLow = inHigh - kInputGap;
  if (w.inputHigh != before.inputHigh && inHigh < inLow + kInputGap) inHigh = inLow + kInputGap;
  b->inputLow = ClampTone(inLow);
  b->inputHigh = ClampTone(inHigh);

  StoreOutputPair(&b->outputLow, &b->outputHigh, w.outputLow, w.outputHigh, before.outputLow, before.outputHigh,
                  b->endLow, b->endHigh);
  StoreOutputPair(&b->endLow, &b->endHigh, w.endLow, w.endHigh, before.endLow, before.endHigh, b->outputLow,
                  b->outputHigh);

  b->gammaFactor += w.gammaFactor - before.gammaFactor;
  for (int i = 0; i < kExpertCount; ++i) {
    ExpertValues(b)[i] =
        static_cast<int16_t>(ExpertValues(b)[i] + ExpertValues(&w)[i] - ExpertValues(&before)[i]);
  }
}

}  // namespace

uint32_t LoadToneWorkingCopy() {
  FrameRecord* frame = ToneCurrentFrame();
  if (!frame) return 0;
  if (frame->colorMode != kColorModeRgb) {
    std::memcpy(&gToneWorkingCopy, &frame->tone[0], sizeof(ToneBlock));
    return frame->colorMode;
  }
  AverageSelectedChannels(*frame, gToneChannelMask, &gToneWorkingCopy);
  return frame->colorMode;
}

void StoreToneWorkingCopy(ToneBlock before) {
  FrameRecord* frame = ToneCurrentFrame();
  if (!frame) return;
  if (frame->colorMode != kColorModeRgb) {
    std::memcpy(&frame->tone[0], &gToneWorkingCopy, sizeof(ToneBlock));
    return;
  }
  for (int c = 1; c <= 3; ++c) {
    if (gToneChannelMask & (1 << c)) ApplyChanges(&frame->tone[c], gToneWorkingCopy, before);
  }
}
