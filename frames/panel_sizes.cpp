#include "frames/panel_sizes.h"

#include <cmath>

#include "foundation/decimal.h"

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
