#include "frames/panel_bounds.h"

#include <algorithm>
#include <cmath>

#include "foundation/round.h"


namespace {

constexpr double kLowestQualityFactor = 1.0;
constexpr double kHighestQualityFactor = 2.5;
// Descreening scans at most 200 percent of the original's ruling.
constexpr double kDescreenRulingPercent = 200.0;

double Trunc(double value) { return std::trunc(value); }

// Without a resolution list (no device open) there is nothing to bound by.
bool HasRange(const PanelLimits& limits) { return limits.lastResolution > 0.0; }

// A stored i16 field, kept inside the field's range: the whole part, or rounded.
int16_t ToI16(double value) { return static_cast<int16_t>(std::clamp(Trunc(value), -32768.0, 32767.0)); }
int16_t RoundedI16(double value) { return static_cast<int16_t>(TruncRound(std::clamp(value, -32768.0, 32767.0))); }

TypedNumber OrCurrent(TypedNumber typed, double current) {
  return typed.valid ? typed : TypedNumber{false, current};
}

double LargerScale(const FrameRecord& frame) { return std::max(frame.outputScaleX, frame.outputScaleY); }
double SmallerScale(const FrameRecord& frame) { return std::min(frame.outputScaleX, frame.outputScaleY); }

void ScaleBoth(FrameRecord* frame, double divisor) {
  frame->outputScaleX = static_cast<float>(frame->outputScaleX / divisor);
  frame->outputScaleY = static_cast<float>(frame->outputScaleY / divisor);
}

int16_t RulingFor(double resolution, double qualityFactor) {
  return qualityFactor > 0.0 ? RoundedI16(resolution / qualityFactor) : 0;
}

}  // namespace

bool IsDescreeningKind(uint8_t kind) { return kind == 2 || kind == 3; }

double MaxNeededResolution(const FrameRecord& frame, const PanelLimits& limits) {
  if (IsDescreeningKind(frame.filterMode)) return kDescreenRulingPercent * frame.screenRulingCopy;
  return limits.lastResolution * limits.maxPercent;
}

double MinNeededResolution(const PanelLimits& limits) { return limits.firstResolution * limits.minPercent; }

bool ApplyOutputResolutionEdit(FrameRecord* frame, const PanelLimits& limits, TypedNumber typed, double unitFactor) {
  typed = OrCurrent(typed, frame->outputResolution / unitFactor);
  double resolution = typed.value * unitFactor;
  const int32_t upper = static_cast<int32_t>(limits.lastResolution * limits.maxPercent) / 100;
  const int32_t lower = static_cast<int32_t>(limits.firstResolution * limits.minPercent + 99) / 100;
  if (HasRange(limits)) {
    if (resolution > upper) resolution = upper;
    if (resolution < lower) resolution = lower;
  }
  frame->outputResolution = ToI16(resolution);
  const bool pending = !typed.valid || Trunc(frame->outputResolution / unitFactor + 0.01) != Trunc(typed.value + 0.01);
  frame->screenRuling = RulingFor(resolution, frame->qualityFactor);
  ClampScalesToResolutionRange(frame, limits);
  return pending;
}

bool ApplyScreenRulingEdit(FrameRecord* frame, const PanelLimits& limits, TypedNumber typed, double unitFactor) {
  typed = OrCurrent(typed, frame->screenRuling / unitFactor);
  double lines = typed.value * unitFactor;
  const double perLine = frame->qualityFactor * 100.0;
  const double upper = Trunc(limits.lastResolution * limits.maxPercent / perLine);
  const double lower = std::ceil(MinNeededResolution(limits) / perLine);
  if (HasRange(limits) && perLine > 0.0) {
    if (lines > upper) lines = upper;
    if (lines < lower) lines = lower;
  }
  frame->outputResolution = RoundedI16(lines * frame->qualityFactor);
  frame->screenRuling = ToI16(lines);
  // Both sides in the field's unit: what the field would show against what was typed.
  const bool pending = !typed.valid || Trunc(lines / unitFactor + 0.01) != Trunc(typed.value + 0.01);
  ClampScalesToResolutionRange(frame, limits);
  return pending;
}

bool ApplyQualityFactorEdit(FrameRecord* frame, const PanelLimits& limits, TypedNumber typed) {
  typed = OrCurrent(typed, frame->qualityFactor);
  double factor = 1.0;
  if (frame->bitsPerChannel != 1) {
    factor = Trunc(typed.value * 10.0) * 0.1;
    double lower = kLowestQualityFactor;
    double upper = kHighestQualityFactor;
    const double ruling = frame->screenRuling;
    if (HasRange(limits) && ruling * SmallerScale(*frame) > 0.0) {
      lower = std::max(MinNeededResolution(limits) / (ruling * SmallerScale(*frame)), lower);
      upper = std::min(MaxNeededResolution(*frame, limits) / (ruling * LargerScale(*frame)), upper);
    }
    if (factor < lower) factor = lower;
    if (factor > upper) factor = upper;
  }
  const bool pending = !typed.valid || std::fabs(factor - typed.value) >= 0.05;
  frame->qualityFactor = factor;
  frame->outputResolution = RoundedI16(frame->screenRuling * factor);
  ClampScalesToResolutionRange(frame, limits);
  return pending;
}

bool ClampScalesToResolutionRange(FrameRecord* frame, const PanelLimits& limits) {
  const double resolution = frame->outputResolution;
  if (!HasRange(limits) || resolution <= 0.0) return false;
  if (frame->scalesFollowList) {
    const float scale = static_cast<float>(limits.lastResolution * 100.0 / resolution);
    const bool changed = frame->outputScaleX != scale || frame->outputScaleY != scale;
    frame->outputScaleX = frame->outputScaleY = scale;
    return changed;
  }
  bool changed = false;
  const double highest = MaxNeededResolution(*frame, limits);
  if (highest > 0.0) {
    const double over = resolution * LargerScale(*frame) / highest;
    if (over > 1.0) {
      ScaleBoth(frame, over);
      changed = true;
    }
  }
  const double lowest = MinNeededResolution(limits);
  if (lowest > 0.0) {
    const double under = resolution * SmallerScale(*frame) / lowest;
    if (under < 1.0 && under > 0.0) {
      ScaleBoth(frame, under);
      changed = true;
    }
  }
  return changed;
}

void ClampOutputResolutionToScales(FrameRecord* frame, const PanelLimits& limits) {
  const double larger = LargerScale(*frame);
  const double smaller = SmallerScale(*frame);
  if (!HasRange(limits) || larger <= 0.0 || smaller <= 0.0) return;
  const double upper = Trunc(limits.lastResolution * limits.maxPercent / larger);
  const double lower = std::ceil(MinNeededResolution(limits) / smaller);
  double resolution = frame->outputResolution;
  if (resolution > upper) resolution = upper;
  if (resolution < lower) resolution = lower;
  if (resolution == frame->outputResolution) return;
  frame->outputResolution = static_cast<int16_t>(resolution);
  frame->screenRuling = RulingFor(resolution, frame->qualityFactor);
}
