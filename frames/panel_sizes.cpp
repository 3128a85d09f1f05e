#include "frames/panel_sizes.h"

#include <algorithm>
#include <cmath>

#include "foundation/decimal.h"
#include "foundation/round.h"

namespace {

constexpr double kSmallestExtent = 0.1;  // inches

}  // namespace

bool FieldShowsWidth(int fieldId, bool axesSwapped) {
  const bool widthField = fieldId == kOriginalWidthField || fieldId == kScaleXField || fieldId == kOutputWidthField;
  return widthField != axesSwapped;
}

bool ApplyOriginalSizeEdit(FrameRecord* frame, bool width, TypedNumber typed, double unitFactor, double scanAreaExtent) {
  double& extent = width ? frame->width : frame->height;
  const double origin = width ? frame->originX : frame->originY;
  if (unitFactor <= 0.0) return true;
  if (!typed.valid) typed.value = extent * unitFactor;
  double inches = typed.value / unitFactor;
  if (origin + inches > scanAreaExtent) inches = scanAreaExtent - origin;
  if (inches < kSmallestExtent) inches = kSmallestExtent;
  extent = inches;
  return !typed.valid || std::fabs(inches * unitFactor - typed.value) >= 0.1;
}

namespace {

// The new scale of the axis as the frame takes it; the limited value.
double TakeScale(FrameRecord* frame, const PanelLimits& limits, bool width, double scale, bool linked,
                 PanelScaleLimiter clamp) {
  if (!frame->scalesFollowList && clamp) scale = clamp(static_cast<float>(scale), width, linked, frame);
  if (IsDescreeningKind(frame->filterMode) && frame->outputResolution > 0)
    scale = std::min(scale, 200.0 * frame->screenRulingCopy / frame->outputResolution);
  float& own = width ? frame->outputScaleX : frame->outputScaleY;
  float& other = width ? frame->outputScaleY : frame->outputScaleX;
  if (frame->scalesFollowList) {
    own = other = static_cast<float>(scale);
    if (scale > 0.0) {
      frame->outputResolution = static_cast<int16_t>(std::min(std::trunc(limits.lastResolution * 100.0 / scale), 32767.0));
      if (frame->qualityFactor > 0.0)
        frame->screenRuling = static_cast<int16_t>(TruncRound(frame->outputResolution / frame->qualityFactor));
    }
  } else {
    if (linked && own > 0.0f) other = static_cast<float>(other * scale / own);
    own = static_cast<float>(scale);
  }
  return scale;
}

}  // namespace

bool ApplyScaleEdit(FrameRecord* frame, const PanelLimits& limits, bool width, TypedNumber typed, bool linked,
                    PanelScaleLimiter clamp) {
  if (!typed.valid) typed.value = width ? frame->outputScaleX : frame->outputScaleY;
  const double scale = TakeScale(frame, limits, width, typed.value, linked, clamp);
  // The field shows one decimal.
  return !typed.valid || std::fabs(scale - typed.value) >= 0.05;
}

bool ApplyOutputSizeEdit(FrameRecord* frame, const PanelLimits& limits, bool width, TypedNumber typed,
                         double unitFactor, bool linked, PanelScaleLimiter clamp) {
  const double extent = (width ? frame->width : frame->height) * unitFactor;
  const double current = width ? frame->outputScaleX : frame->outputScaleY;
  if (extent <= 0.0) return true;
  const double wanted = typed.valid ? typed.value * 100.0 / extent : current;
  const double scale = TakeScale(frame, limits, width, wanted, linked, clamp);
  return !typed.valid || std::fabs(scale - wanted) > 0.1;
}

bool IsCmykOutputMode(int outputCmsMode) { return outputCmsMode == 2 || outputCmsMode == 3 || outputCmsMode == 5; }

double DataSizeMegabytes(uint32_t width, uint32_t height, const FrameRecord& frame, int outputCmsMode) {
  double bytesPerPixel = 0.0;
  if (frame.colorMode == 0) {
    bytesPerPixel = frame.bitsPerChannel == 1 ? 0.125 : frame.bitsPerChannel == 16 ? 2.0 : 1.0;
  } else if (frame.bitsPerChannel == 16) {
    bytesPerPixel = frame.bitDepthChoice == 0 && IsCmykOutputMode(outputCmsMode) ? 8.0 : 6.0;
  } else {
    bytesPerPixel = IsCmykOutputMode(outputCmsMode) ? 4.0 : 3.0;
  }
  return static_cast<double>(width) * height * bytesPerPixel / 1048576.0;
}

void FormatDataSize(unsigned char* out, double megabytes) { FormatDecimal(out, megabytes, megabytes < 1000.0 ? 2 : 1); }
