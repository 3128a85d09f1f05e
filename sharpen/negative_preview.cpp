#include "sharpen/negative_preview.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/memory.h"
#include "foundation/round.h"

namespace {

const NegativePreviewServices* gServices = nullptr;

constexpr int kMaxInset = 80;
constexpr int32_t kLevels = 65536;

// The buffer the frame is measured on, locked for one operation.
class LockedPreview {
 public:
  LockedPreview(const FrameRecord* frame, bool mainOnly) {
    if (!gServices || !gServices->lockSamples) return;
    PreviewSamples large = {};
    if (!mainOnly && frame && gServices->isSmallFrame && gServices->isSmallFrame(frame) &&
        gServices->lockSamples(true, &large)) {
      large_ = true;
      samples_ = large;
    } else if (!gServices->lockSamples(false, &samples_)) {
      return;
    }
    locked_ = samples_.samples && samples_.width > 0 && samples_.height > 0;
  }
  ~LockedPreview() {
    if (locked_ && gServices->unlockSamples) gServices->unlockSamples(large_);
  }
  LockedPreview(const LockedPreview&) = delete;
  LockedPreview& operator=(const LockedPreview&) = delete;

  bool locked() const { return locked_; }
  int32_t width() const { return samples_.width; }
  int32_t height() const { return samples_.height; }
  uint16_t Sample(int32_t x, int32_t y, int c) const {
    return samples_.samples[(static_cast<size_t>(y) * 3 + c) * samples_.width + x];
  }

  // The frame's rectangle in the buffer (the whole buffer without a frame),
  // kept inside the buffer.
  PreviewRect Area(const FrameRecord* frame) const {
    PreviewRect r = {0, 0, static_cast<int16_t>(height()), static_cast<int16_t>(width())};
    if (frame && gServices->frameToPreviewRect) r = gServices->frameToPreviewRect(frame, large_);
    r.left = static_cast<int16_t>(std::max<int32_t>(r.left, 0));
    r.top = static_cast<int16_t>(std::max<int32_t>(r.top, 0));
    r.right = static_cast<int16_t>(std::min<int32_t>(r.right, width()));
    r.bottom = static_cast<int16_t>(std::min<int32_t>(r.bottom, height()));
    return r;
  }

 private:
  PreviewSamples samples_ = {};
  bool large_ = false;
  bool locked_ = false;
};

bool IsEmpty(const PreviewRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The first level from the given end at which the running count exceeds the limit.
uint16_t ClippedLevel(const uint32_t* histogram, double limit, bool fromTop) {
  double sum = 0;
  for (int32_t k = 0; k < kLevels; ++k) {
    const int32_t level = fromTop ? kLevels - 1 - k : k;
    sum += histogram[level];
    if (sum > limit) return static_cast<uint16_t>(level);
  }
  return static_cast<uint16_t>(fromTop ? 0 : kLevels - 1);
}

int32_t BinIndex(double value, int32_t bins, bool invert) {
  double position = value * (bins - 1) + 0.5;
  position = std::min(std::max(position, 0.0), static_cast<double>(bins - 1));
  const auto index = static_cast<int32_t>(position);
  return invert ? bins - 1 - index : index;
}

// Frees the preview conversion table and puts the negative mode back on every path.
class AnalysisScope {
 public:
  AnalysisScope() {
    flag_ = gServices && gServices->negativeModeFlag ? gServices->negativeModeFlag() : nullptr;
    if (flag_) {
      saved_ = *flag_;
      *flag_ = 0;
    }
  }
  ~AnalysisScope() {
    if (lut_ && gServices->freeConversionLut) gServices->freeConversionLut();
    if (flag_) *flag_ = saved_;
  }
  AnalysisScope(const AnalysisScope&) = delete;
  AnalysisScope& operator=(const AnalysisScope&) = delete;

  bool BuildLut() {
    lut_ = gServices && gServices->buildConversionLut && gServices->applyConversionLut &&
           gServices->buildConversionLut();
    return lut_;
  }

 private:
  uint8_t* flag_ = nullptr;
  uint8_t saved_ = 0;
  bool lut_ = false;
};

}  // namespace

void InstallNegativePreviewServices(const NegativePreviewServices* services) { gServices = services; }

bool ComputePreviewHistograms(uint16_t* low, uint16_t* high, const FrameRecord* frame, double clipLow, double clipHigh,
                              uint8_t inset) {
  if (!low || !high) return false;
  std::vector<uint32_t> histograms;
  const bool clipped = clipLow > 0 || clipHigh > 0;
  if (clipped) {
    try {
      histograms.assign(3 * static_cast<size_t>(kLevels), 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  LockedPreview preview(frame, false);
  if (!preview.locked()) return false;
  PreviewRect r = preview.Area(frame);
  const int32_t trim = std::min<int32_t>(inset, kMaxInset);
  const int32_t dx = (r.right - r.left) * trim / 200;
  const int32_t dy = (r.bottom - r.top) * trim / 200;
  r.left = static_cast<int16_t>(r.left + dx);
  r.right = static_cast<int16_t>(r.right - dx);
  r.top = static_cast<int16_t>(r.top + dy);
  r.bottom = static_cast<int16_t>(r.bottom - dy);
  if (IsEmpty(r)) return false;
  for (int c = 0; c < 3; ++c) {
    low[c] = 65535;
    high[c] = 0;
  }
  for (int32_t y = r.top; y < r.bottom; ++y) {
    for (int c = 0; c < 3; ++c) {
      for (int32_t x = r.left; x < r.right; ++x) {
        const uint16_t s = preview.Sample(x, y, c);
        low[c] = std::min(low[c], s);
        high[c] = std::max(high[c], s);
        if (clipped) ++histograms[c * static_cast<size_t>(kLevels) + s];
      }
    }
  }
  if (clipped) {
    const double total = static_cast<double>(r.right - r.left) * (r.bottom - r.top);
    for (int c = 0; c < 3; ++c) {
      const uint32_t* histogram = histograms.data() + c * static_cast<size_t>(kLevels);
      low[c] = ClippedLevel(histogram, total * clipLow, false);
      high[c] = ClippedLevel(histogram, total * clipHigh, true);
    }
  }
  return true;
}

bool FindPreviewExtremePoints(uint16_t* dark, uint16_t* light, const FrameRecord* frame, const uint16_t* lowLimits,
                              const uint16_t* highLimits) {
  if (!dark || !light) return false;
  for (int c = 0; c < 3; ++c) {
    dark[c] = 0;
    light[c] = 1;
  }
  LockedPreview preview(frame, false);
  if (!preview.locked()) return false;
  const PreviewRect r = preview.Area(frame);
  if (IsEmpty(r)) return false;
  bool found = false;
  double darkest = 0, lightest = 0;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    for (int32_t x = r.left; x < r.right; ++x) {
      double sum = 0;
      bool inside = true;
      for (int c = 0; c < 3 && inside; ++c) {
        const double lo = lowLimits ? lowLimits[c] : 0.0;
        const double hi = highLimits ? highLimits[c] : 65535.0;
        const double v = (preview.Sample(x, y, c) - lo) / (hi - lo);
        inside = v >= 0 && v <= 1;
        sum += v;
      }
      if (!inside) continue;
      const double brightness = sum * (1.0 / 3);
      const bool darker = !found || brightness < darkest;
      const bool lighter = !found || brightness > lightest;
      for (int c = 0; c < 3; ++c) {
        if (darker) dark[c] = preview.Sample(x, y, c);
        if (lighter) light[c] = preview.Sample(x, y, c);
      }
      if (darker) darkest = brightness;
      if (lighter) lightest = brightness;
      found = true;
    }
  }
  return true;
}

bool ReadPreviewPixel(uint16_t* out, int16_t x, int16_t y, int16_t radius) {
  if (!out) return false;
  LockedPreview preview(nullptr, true);
  if (!preview.locked()) return false;
  int32_t x0 = x - radius, y0 = y - radius, x1 = x + radius, y1 = y + radius;
  if (gServices->mapPreviewPoint) {
    gServices->mapPreviewPoint(&x0, &y0);
    gServices->mapPreviewPoint(&x1, &y1);
  }
  const int32_t left = std::max(std::min(x0, x1), 0);
  const int32_t right = std::min(std::max(x0, x1), preview.width() - 1);
  const int32_t top = std::max(std::min(y0, y1), 0);
  const int32_t bottom = std::min(std::max(y0, y1), preview.height() - 1);
  if (right < left || bottom < top) return false;
  const double count = static_cast<double>(right - left + 1) * (bottom - top + 1);
  for (int c = 0; c < 3; ++c) {
    double sum = 0;
    for (int32_t py = top; py <= bottom; ++py) {
      for (int32_t px = left; px <= right; ++px) sum += preview.Sample(px, py, c);
    }
    out[c] = static_cast<uint16_t>(TruncRound(sum / count));
  }
  return true;
}

int32_t ComputeExpansionHistograms(uint32_t* mean, uint32_t* channel1, uint32_t* channel2, uint32_t* channel3,
                                   int32_t bins, const FrameRecord* frame, double gamma, uint8_t invert) {
  if (bins < 1) return 0;
  uint32_t* channels[3] = {channel1, channel2, channel3};
  for (uint32_t* table : {mean, channel1, channel2, channel3}) {
    if (table) std::fill(table, table + bins, 0u);
  }
  LockedPreview preview(frame, false);
  if (!preview.locked()) return 0;
  const PreviewRect r = preview.Area(frame);
  if (IsEmpty(r)) return 0;
  const double e = 1.0 / gamma;
  int32_t counted = 0;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    for (int32_t x = r.left; x < r.right; ++x) {
      double v[3];
      for (int c = 0; c < 3; ++c) {
        v[c] = preview.Sample(x, y, c) * (1.0 / 65535);
        if (e != 1.0) v[c] = std::pow(v[c], e);
        if (channels[c]) ++channels[c][BinIndex(v[c], bins, invert)];
      }
      if (mean) ++mean[BinIndex((v[0] + v[1] + v[2]) * (1.0 / 3), bins, invert)];
      ++counted;
    }
  }
  return counted;
}

bool AnalyseNegativePreview(uint8_t* levels8, float* data, double clipFraction) {
  if (!levels8 || !gServices) return false;
  AnalysisScope scope;
  if (!scope.BuildLut()) return false;
  const FrameRecord* frame = gServices->currentFrame ? gServices->currentFrame() : nullptr;
  const uint8_t inset = gServices->analysisInset ? gServices->analysisInset() : 0;
  uint16_t low[3], high[3];
  if (!ComputePreviewHistograms(low, high, frame, clipFraction, 0.0, inset)) return false;
  uint8_t lowBytes[3], highBytes[3];
  if (!gServices->applyConversionLut(low, lowBytes, 1) || !gServices->applyConversionLut(high, highBytes, 1))
    return false;
  for (int c = 0; c < 3; ++c) {
    levels8[2 + 2 * c] = lowBytes[c];
    levels8[3 + 2 * c] = highBytes[c];
  }
  if (!data) return true;
  for (int c = 0; c < 3; ++c) {
    data[2 + 2 * c] = static_cast<float>(low[c] * (1.0 / 65535));
    data[3 + 2 * c] = static_cast<float>(high[c] * (1.0 / 65535));
  }
  const uint8_t grey = gServices->greyChannelChoice ? gServices->greyChannelChoice() : 0;
  if (grey >= 1 && grey <= 3) {
    data[0] = data[2 * grey];
    data[1] = data[2 * grey + 1];
    return true;
  }
  const double gamma = gServices->currentGamma ? gServices->currentGamma() : 0.0;
  if (gamma <= 0.1) return false;
  for (int end = 0; end < 2; ++end) {
    double sum = 0;
    for (int c = 1; c <= 3; ++c) sum += std::pow(data[2 * c + end], 1.0 / gamma);
    data[end] = static_cast<float>(std::pow(sum * (1.0 / 3), gamma));
  }
  return true;
}
