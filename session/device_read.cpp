#include "session/device_read.h"

#include <algorithm>
#include <cmath>

#include "foundation/round.h"
#include "frames/frame_record.h"

namespace {

constexpr uint32_t kSourceSamplesPerColumn = 60;
constexpr uint32_t kOutputSamplesPerColumn = 78;

int32_t Clamp(int32_t value, int32_t low, int32_t high) { return std::max(low, std::min(value, high)); }

}  // namespace

SourceRect ClampSourceRect(SourceRect rect, uint32_t imageWidth, uint32_t imageHeight) {
  const int32_t width = static_cast<int32_t>(imageWidth);
  const int32_t height = static_cast<int32_t>(imageHeight);
  rect.left = Clamp(rect.left, 0, width - 1);
  rect.top = Clamp(rect.top, 0, height - 1);
  rect.width = Clamp(rect.width, 1, width - rect.left);
  rect.height = Clamp(rect.height, 1, height - rect.top);
  return rect;
}

SourceRect ReduceSourceRect(const SourceRect& rect, double ratio, uint32_t reducedWidth, uint32_t reducedHeight) {
  SourceRect reduced = {TruncRound(rect.left * ratio), TruncRound(rect.top * ratio), TruncRound(rect.width * ratio),
                        TruncRound(rect.height * ratio)};
  return ClampSourceRect(reduced, reducedWidth, reducedHeight);
}

SourceRect FrameSourceRect(const FrameRecord& frame, uint32_t imageWidth, uint32_t imageHeight,
                           uint32_t resolution) {
  SourceRect rect = {TruncRound(frame.originX * resolution), TruncRound(frame.originY * resolution),
                     TruncRound(frame.width * resolution), TruncRound(frame.height * resolution)};
  return ClampSourceRect(rect, imageWidth, imageHeight);
}

double ReadScale(int32_t sourceHeight, int32_t outputHeight) {
  if (outputHeight <= 1) return 1.0;
  return static_cast<double>(sourceHeight - 1) / (outputHeight - 1);
}

LineBufferSizes ComputeLineBufferSizes(int32_t sourceWidth, int32_t outputWidth, double scale, int32_t bits) {
  const uint32_t sampleBytes = bits == 16 ? 2 : 1;
  uint32_t outputSamples = kOutputSamplesPerColumn;
  if (scale > 1.0) outputSamples = static_cast<uint32_t>(std::ceil(kOutputSamplesPerColumn * scale));
  return {static_cast<uint32_t>(sourceWidth) * kSourceSamplesPerColumn * sampleBytes,
          static_cast<uint32_t>(outputWidth) * outputSamples * sampleBytes};
}
