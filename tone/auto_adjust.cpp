#include "tone/auto_adjust.h"

#include <algorithm>
#include <cmath>

#include "color/color_profile_set.h"
#include "foundation/round.h"
#include "foundation/system.h"
#include "tone/preview_histogram.h"
#include "tone/subjects.h"
#include "tone/tone_curve.h"
#include "tone/tone_engine_state.h"
#include "tone/tone_window_hooks.h"
#include "tone/tone_working_copy.h"

namespace {

constexpr int kLastShadowBin = 235;   // the shadow search stops here
constexpr int kHighlightFloorBin = 20;
constexpr int kMinInputGap = 20;      // the tone settings need inputHigh >= inputLow + 20
constexpr int kMaxMidtoneShift = 20;
constexpr int kMaxContrast = 50;

// Image types with fixed handling; 12 and above are stored subjects.
enum ImageType : uint8_t {
  kTypeLandscape = 1,
  kTypeSkin = 2,
  kTypeGold = 3,
  kTypeTechnical = 4,
  kTypeEvening = 5,
  kTypeSnow = 6,
  kTypeNight = 7,
  kTypeNoCast = 8,
  kTypeCastInHighlights = 9,
  kTypeCastInShadows = 10,
};

bool ColourManagementInForce() {
  const int16_t mode = GetDefault(ToneDefaults(), kDefaultInputCmsMode);
  return mode == 3 || (mode == 2 && IsScannerTransformReady());
}

// Channel 0 grey, 1-3 red, green, blue.
const uint32_t* Bins(const PreviewHistogram& h, int channel) {
  const uint32_t* const bins[4] = {h.grey, h.red, h.green, h.blue};
  return bins[channel];
}

uint32_t ClipThreshold(uint64_t total, int8_t clip) {
  const uint64_t threshold = clip > 0 ? total / (2000 / clip) : 0;
  return threshold > 0 ? static_cast<uint32_t>(threshold) : 1;
}

// The first bin at which the count summed from bin 0 reaches the threshold, at most last.
int AccumulateUp(const uint32_t* bins, uint64_t threshold, int last) {
  uint64_t sum = 0;
  int bin = 0;
  for (; bin < last; ++bin) {
    sum += bins[bin];
    if (sum >= threshold) break;
  }
  return bin;
}

// The first bin, scanning down from 255, at which the sum reaches the threshold, at least floor.
int AccumulateDown(const uint32_t* bins, uint64_t threshold, int floor) {
  uint64_t sum = 0;
  int bin = 255;
  for (; bin > floor; --bin) {
    sum += bins[bin];
    if (sum >= threshold) break;
  }
  return bin;
}

int MedianBin(const uint32_t* bins, uint64_t total) {
  uint64_t sum = 0;
  for (int bin = 0; bin < 256; ++bin) {
    sum += bins[bin];
    if (2 * sum >= total) return bin;
  }
  return 255;
}

struct Analysis {
  const PreviewHistogram* h;
  uint64_t total;
  int first, last;   // channels: 1-3 of an RGB frame, else 0
  bool rgb;
  bool storedRect;
  int low[4];
  int high[4];
};

// The colour of the frame's pixels with grey in lowGrey..highGrey: channels
// 1-3 for an RGB frame, else the grey of that colour. An empty range (the
// sums ran past either end) or no such pixel gives the grey bound itself.
void SampleGreyRange(const Analysis& a, int lowGrey, int highGrey, int bound, int* out) {
  lowGrey = std::max(lowGrey, 0);
  highGrey = std::min(highGrey, 255);
  bound = std::min(std::max(bound, 0), 255);
  uint8_t rgb[3] = {uint8_t(bound), uint8_t(bound), uint8_t(bound)};
  if (lowGrey <= highGrey) ToneWindow().sampleFramePreview(rgb, lowGrey, highGrey, a.storedRect);
  if (a.rgb) {
    for (int c = 1; c <= 3; ++c) out[c] = rgb[c - 1];
  } else {
    out[0] = (rgb[0] + rgb[1] + rgb[2]) / 3;
  }
}

void FindShadows(Analysis& a, bool levelsMode, bool byGrey, int8_t clip, uint32_t threshold) {
  if (levelsMode) {
    for (int c = a.first; c <= a.last; ++c) {
      const uint32_t* bins = Bins(*a.h, c);
      int bin = 0;
      while (bin < kLastShadowBin && bins[bin] == 0) ++bin;
      a.low[c] = std::max(bin + clip - 1, 0);
    }
  } else if (byGrey) {
    const int level = AccumulateUp(a.h->grey, threshold, kLastShadowBin) - 1;
    if (a.rgb)
      SampleGreyRange(a, 0, level, level, a.low);
    else
      SampleGreyRange(a, level, level, level, a.low);
  } else {
    for (int c = a.first; c <= a.last; ++c)
      a.low[c] = std::max(AccumulateUp(Bins(*a.h, c), threshold, kLastShadowBin) - 1, 0);
  }
}

void FindHighlights(Analysis& a, bool levelsMode, bool byGrey, int8_t clip, uint32_t threshold) {
  if (levelsMode) {
    for (int c = a.first; c <= a.last; ++c) {
      const uint32_t* bins = Bins(*a.h, c);
      int bin = 255;
      while (bin > a.low[c] + kMinInputGap && bins[bin] == 0) --bin;
      const int value = std::max(bin - clip, a.low[c] + kMinInputGap);
      a.high[c] = value >= 255 ? 255 : value + 1;
    }
  } else if (byGrey) {
    const int level = AccumulateDown(a.h->grey, threshold, kHighlightFloorBin) + 1;
    if (a.rgb) {
      SampleGreyRange(a, level, 255, level, a.high);
      for (int c = 1; c <= 3; ++c) a.low[c] = std::min(a.low[c], a.high[c]);
    } else {
      SampleGreyRange(a, level, level, level, a.high);
    }
  } else {
    for (int c = a.first; c <= a.last; ++c)
      a.high[c] = AccumulateDown(Bins(*a.h, c), threshold, std::max(a.low[c] + kMinInputGap, 0)) + 1;
  }
  // A highlight on or below its shadow point would divide by zero below and
  // break the tone settings' rule of 20 levels between the two.
  for (int c = a.first; c <= a.last; ++c) {
    if (a.high[c] - a.low[c] >= kMinInputGap) continue;
    a.low[c] = std::max(a.high[c] - kMinInputGap, 0);
    a.high[c] = a.low[c] + kMinInputGap;
  }
}

// The contrast values of the frame's image type; true when the automatic contrast applies.
bool ApplyImageType(FrameRecord* frame, Analysis& a) {
  const uint8_t type = frame->imageType;
  if (type == kUserDefinedSubject) return false;
  if (type >= kBuiltInSubjectCount) {
    SubjectParameters subject;
    if (!LoadSubjectParameters(type, &subject)) return false;
    for (int c = a.first; c <= a.last; ++c) {
      ToneBlock& block = frame->tone[c];
      int16_t* const fields[4] = {&block.contrast, &block.brightness, &block.upperContrast, &block.lowerContrast};
      const int16_t values[4] = {subject.contrast, subject.brightness, subject.upperContrast, subject.lowerContrast};
      for (int i = 0; i < 4; ++i)
        if (subject.enable[i]) *fields[i] = values[i];
    }
    return false;
  }
  const int16_t contrast = type == kTypeLandscape ? 15 : type == kTypeSkin ? -10 : 0;
  const int16_t lowerContrast = type == kTypeTechnical ? 20 : 0;
  for (int c = a.first; c <= a.last; ++c) {
    frame->tone[c].contrast = contrast;
    frame->tone[c].lowerContrast = lowerContrast;
    if (type == kTypeSnow) a.low[c] = 0;
    if (type == kTypeNight) a.high[c] = 256;
  }
  if (type == kTypeLandscape || type == kTypeSkin) return false;
  const DefaultsBlock& defaults = ToneDefaults();
  return GetDefault(defaults, ToneTransparentOriginal() ? kDefaultAutoContrastTransparency
                                                        : kDefaultAutoContrastReflective) != 0;
}

void SetMidtones(FrameRecord* frame, const Analysis& a, const AutoAdjustSettings& settings) {
  const DefaultsBlock& defaults = ToneDefaults();
  const bool linearToe = GetDefault(defaults, kDefaultLimitGammaSlope) != 0;
  int shift[4] = {};
  if (FilmRemapsPoints(frame)) {
    double sum = 0.0;
    for (int c = a.first; c <= a.last; ++c) {
      const int hr = (a.high[c] - a.low[c]) / 2;
      const int median = std::min(std::max(MedianBin(Bins(*a.h, c), a.total), a.low[c]), a.high[c]);
      sum += double(median - a.low[c] - hr) / hr;
    }
    const int value = TruncRound(20.0 * sum / (a.last - a.first + 1));
    for (int c = a.first; c <= a.last; ++c) shift[c] = value;
  } else {
    const double dark = -(GetDefault(defaults, kDefaultAutoPipetteMidFactor1) * 0.1 + settings.darkOffset) / 3.0;
    const double bright = (GetDefault(defaults, kDefaultAutoPipetteMidFactor2) * 0.1 + settings.brightOffset) / 3.0;
    for (int c = a.first; c <= a.last; ++c) {
      const int hr = (a.high[c] - a.low[c]) / 2;
      const int m = MedianBin(Bins(*a.h, c), a.total) + 1;
      const double v = 20.0 * (m - a.low[c] - hr) / hr;
      shift[c] = static_cast<int>(v * (v < 0 ? dark : bright));
    }
  }
  for (int c = a.first; c <= a.last; ++c) {
    if (linearToe && shift[c] < 0) shift[c] /= 2;
    shift[c] = std::min(std::max(shift[c], -kMaxMidtoneShift), kMaxMidtoneShift);
    frame->tone[c].shiftMode = 1;
  }
  if (a.rgb) {
    const int average = (shift[1] + shift[2] + shift[3]) / 3;
    for (int c = 1; c <= 3; ++c) {
      shift[c] = average;
      if (linearToe && average < 0) frame->tone[c].shiftMode = 0;
    }
  }
  for (int c = a.first; c <= a.last; ++c) frame->tone[c].midtoneShift = static_cast<int16_t>(shift[c]);
}

void BalanceCast(Analysis& a, int castRemoval, bool quiet, uint8_t keepCast, uint8_t keepWhite, uint8_t keepBlack) {
  const int minLow = std::min({a.low[1], a.low[2], a.low[3]});
  const int maxHigh = std::max({a.high[1], a.high[2], a.high[3]});
  for (int c = 1; c <= 3; ++c) {
    if (!quiet) {
      a.low[c] = minLow + (a.low[c] - minLow) * castRemoval / 100;
      a.high[c] = maxHigh + (a.high[c] - maxHigh) * castRemoval / 100;
    }
    if (keepCast) {
      a.low[c] = minLow;
      a.high[c] = maxHigh;
    } else if (keepWhite) {
      a.high[c] = maxHigh;
    } else if (keepBlack) {
      a.low[c] = minLow;
    }
  }
}

// How far the levels spread from the mid-tone against the input range: a
// narrow histogram gets more contrast.
void SetAutomaticContrast(FrameRecord* frame, const Analysis& a) {
  if (a.total == 0) return;
  const double mid = (frame->tone[a.first].midtoneShift + 20) * 255 * 0.025;
  double sum = 0.0;
  for (int c = a.first; c <= a.last; ++c) {
    const uint32_t* bins = Bins(*a.h, c);
    // A range end on the mid-tone would divide by zero: levels beyond it weigh by their distance.
    const double below = std::max(mid - a.low[c], 1.0);
    const double above = std::max(a.high[c] - mid, 1.0);
    for (int i = 0; i < 256; ++i) {
      if (bins[i] == 0) continue;
      const double w = i < mid ? (mid - i) / below : (i - mid) / above;
      sum += bins[i] * w * w;
    }
  }
  const double s = std::max(std::sqrt(sum / (double(a.total) * (a.last - a.first + 1))) - 0.25, 0.0);
  const int contrast = std::min(std::max(TruncRound(40.0 / (1.0 + 5.0 * s)), -kMaxContrast), kMaxContrast);
  for (int c = a.first; c <= a.last; ++c) frame->tone[c].contrast = static_cast<int16_t>(contrast);
}

}  // namespace

void GetAutoAdjustMode(const FrameRecord* frame, uint8_t* keepCast, uint8_t* keepCastWhite, uint8_t* keepCastBlack) {
  bool cast = ColourManagementInForce();
  if (IsKeyDown(kVirtualKeyShift) && !IsKeyDown(kVirtualKeyControl)) cast = !cast;
  bool white = false, black = false;
  const uint8_t type = frame ? frame->imageType : 0;
  SubjectParameters subject;
  if (type == kTypeGold || type == kTypeEvening) {
    cast = true;
  } else if (type >= kTypeNoCast && type <= kTypeCastInShadows) {
    cast = false;
    black = type == kTypeCastInHighlights;
    white = type == kTypeCastInShadows;
  } else if (type >= kBuiltInSubjectCount && LoadSubjectParameters(type, &subject)) {
    cast = subject.keepCast != 0;
    white = subject.keepCastWhite != 0;
    black = subject.keepCastBlack != 0;
  }
  if (keepCast) *keepCast = cast;
  if (keepCastWhite) *keepCastWhite = white;
  if (keepCastBlack) *keepCastBlack = black;
}

bool RunAutoAdjust(bool storedRect, bool quiet) {
  FrameRecord* frame = ToneCurrentFrame();
  if (!frame) return false;
  DefaultsBlock& defaults = ToneDefaults();
  uint8_t keepCast = 0, keepWhite = 0, keepBlack = 0;
  GetAutoAdjustMode(frame, &keepCast, &keepWhite, &keepBlack);
  if (!ComputePreviewHistogram(false, true, storedRect, GetDefault(defaults, kDefaultFrameShrink))) return false;

  frame->castRemoval = GetDefault(defaults, kDefaultCastRemoval);
  if (ColourManagementInForce() || keepCast) frame->castRemoval = 0;
  if (quiet) keepCast = keepWhite = keepBlack = 0;

  Analysis a = {};
  a.h = gPreviewHistogram;
  for (int i = 0; i < 256; ++i) a.total += a.h->grey[i];
  a.rgb = frame->colorMode == kColorModeRgb;
  a.first = a.rgb ? 1 : 0;
  a.last = a.rgb ? 3 : 0;
  a.storedRect = storedRect;

  const AutoAdjustSettings settings = ToneWindow().autoAdjustSettings();
  const int8_t highlightClip = GetDefault(defaults, kDefaultAutoHighlightThreshold);
  const int8_t shadowClip = GetDefault(defaults, kDefaultAutoShadowThreshold);
  for (int c = a.first; c <= a.last; ++c) {
    ToneBlock& block = frame->tone[c];
    block.outputLow = static_cast<int16_t>(TruncRound(2.56 * settings.lowPercent));
    block.outputHigh = static_cast<int16_t>(255 - TruncRound(2.56 * settings.highPercent));
    block.endLow = 0;
    block.endHigh = 255;
  }

  const bool byGrey = !IsKeyDown(kVirtualKeyControl) && GetDefault(defaults, kDefaultNegativeMode) == 0;
  FindShadows(a, GetDefault(defaults, kDefaultAutoShadowLevels) != 0, byGrey, shadowClip,
              ClipThreshold(a.total, shadowClip));
  FindHighlights(a, GetDefault(defaults, kDefaultAutoHighlightLevels) != 0, byGrey, highlightClip,
                 ClipThreshold(a.total, highlightClip));
  const bool automaticContrast = ApplyImageType(frame, a);
  SetMidtones(frame, a, settings);
  if (a.rgb) BalanceCast(a, frame->castRemoval, quiet, keepCast, keepWhite, keepBlack);
  if (automaticContrast) SetAutomaticContrast(frame, a);

  for (int c = a.first; c <= a.last; ++c) {
    frame->tone[c].inputLow = static_cast<int16_t>(a.low[c]);
    frame->tone[c].inputHigh = static_cast<int16_t>(a.high[c]);
  }
  // No fixed measuring point survives: a point counts while any block holds a pair.
  for (ToneBlock& block : frame->tone)
    for (ToneFixedPointValue& pair : block.fixedPointValues) pair = ToneFixedPointValue{0, 0};
  FreePreviewHistogram();

  if (!quiet) {
    LoadToneWorkingCopy();
    const ToneWindowHooks& window = ToneWindow();
    if (!storedRect && window.livePreview()) {
      window.redrawFrames();
      window.refreshFramePreview(false);
      window.redrawFrames();
    }
  }
  return true;
}
