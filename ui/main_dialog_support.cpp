#include "ui/main_dialog_support.h"

#include "records/frame_record.h"
#include "session/device_layer.h"
#include "state/data_source_state.h"

namespace {

struct ResolutionRange {
  double low;   // first x minPercent
  double high;  // last x maxPercent
};

ResolutionRange CurrentRange() {
  const DeviceScaleLimits limits = GetDeviceScaleLimits();
  const uint16_t count = gResolutionList.count;
  const double first = count ? gResolutionList.values[0] : 0.0;
  const double last = count ? gResolutionList.values[count - 1] : 0.0;
  return ResolutionRange{first * limits.minPercent, last * limits.maxPercent};
}

}  // namespace

// The densitometer belongs to the palette's pages; without its panel there is nothing to sample into.
void SampleDensitometerAtCursor() {}

bool ClampScaleToResolutions(float* scale, int16_t divisor) {
  // Without a resolution list (no device open) there is nothing to limit by.
  if (gResolutionList.count == 0 || divisor <= 0) return false;
  const ResolutionRange range = CurrentRange();
  double low = range.low / divisor;
  if (low < 1.0) low = 1.0;
  const double high = range.high / divisor;
  float limited = *scale;
  if (limited < low) limited = static_cast<float>(low);
  if (limited > high) limited = static_cast<float>(high);
  const bool changed = limited != *scale;
  *scale = limited;
  return changed;
}

double ClampOutputScale(float newScale, bool xAxis) {
  const FrameRecord* frame = gCurrentFrame;
  if (!frame || gResolutionList.count == 0 || frame->outputResolution <= 0) return newScale;
  const double x = frame->outputScaleX;
  const double y = frame->outputScaleY;
  const double s = xAxis ? x : y;
  const double r = newScale / s;
  const double resolution = frame->outputResolution;
  const ResolutionRange range = CurrentRange();
  if (r > 1.0) {
    const double big = x > y ? x : y;
    if (resolution * big * r <= range.high) return newScale;
    const bool holdsBig = xAxis == (x > y);
    return holdsBig ? range.high / resolution : range.high / (resolution * big) * s;
  }
  if (r < 1.0) {
    const double small = x < y ? x : y;
    if (resolution * small * r >= range.low) return newScale;
    const bool holdsSmall = xAxis == (x < y);
    return holdsSmall ? range.low / resolution : range.low / (resolution * small) * s;
  }
  return newScale;
}

double ClampOutputResolution(float value, bool, const FrameRecord* frame) {
  if (gResolutionList.count == 0 || frame->outputResolution <= 0) return value;
  const double resolution = frame->outputResolution;
  const ResolutionRange range = CurrentRange();
  if (value * resolution > range.high) return range.high / resolution;
  if (value * resolution < range.low) return range.low / resolution;
  return value;
}
