#include "session/frame_geometry.h"

#include <algorithm>
#include <cmath>

#include "foundation/fixed_point.h"
#include "foundation/round.h"
#include "records/frame_record.h"
#include "frames/orientation/preview_orientation.h"
#include "session/device_layer.h"

namespace {

// The percent constant of the scale arithmetic is a single-precision 0.01.
const double kPercent = static_cast<double>(0.01f);
const double kPixelPercent = 0.01;

bool IsHalvedFilterMode(uint8_t filterMode) { return filterMode == 2 || filterMode == 3; }

int ListCount(const ResolutionList& list) {
  constexpr int kCapacity = sizeof(list.values) / sizeof(list.values[0]);
  return std::min<int>(list.count, kCapacity);
}

// The first entry that reaches the need; the last when none does.
uint16_t PickResolution(const ResolutionList& list, int count, double need) {
  for (int i = 0; i < count; ++i) {
    if (list.values[i] >= need) return list.values[i];
  }
  return list.values[count - 1];
}

void SetAxisScale(double need, uint16_t resolution, const DeviceScaleLimits& limits, Fixed* fixedScale,
                  uint16_t* percent, uint8_t* percentByte) {
  // A resolution of 0 cannot carry the need; the scale then stays at 100 percent.
  double p = resolution > 0 ? need * 100.0 / resolution : 100.0;
  if (p < limits.minPercent) p = limits.minPercent;
  if (p > limits.maxPercent) p = limits.maxPercent;
  *fixedScale = DoubleToFix(p);

  int16_t n = static_cast<int16_t>(TruncRound(p));
  if (limits.scaleStep > 0) n = static_cast<int16_t>(n - n % limits.scaleStep);
  if (n < limits.minPercent) n = limits.minPercent;
  if (n > limits.maxPercent) n = limits.maxPercent;
  *percent = static_cast<uint16_t>(n);
  *percentByte = static_cast<uint8_t>(n & 0xFF);
}

int32_t Clamp(int32_t value, int32_t low, int32_t high) { return std::max(low, std::min(value, high)); }

}  // namespace

void ChooseScanResolutionFrom(FrameRecord* frame, const ResolutionList& list, const DeviceScaleLimits& limits) {
  const int count = ListCount(list);
  if (count == 0) return;

  double needX;
  double needY;
  if (frame->scalesFollowList) {
    needX = needY = list.values[count - 1];
  } else {
    needX = static_cast<double>(frame->outputResolution) * frame->outputScaleX * kPercent;
    needY = static_cast<double>(frame->outputResolution) * frame->outputScaleY * kPercent;
  }
  if (IsHalvedFilterMode(frame->filterMode)) {
    needX *= 2.0;
    needY *= 2.0;
  }

  frame->scanResolutionX = PickResolution(list, count, needX);
  frame->scanResolutionY = PickResolution(list, count, needY);
  SetAxisScale(needX, frame->scanResolutionX, limits, &frame->fixedScaleX, &frame->scanPercentX,
               &frame->scanPercentByteX);
  SetAxisScale(needY, frame->scanResolutionY, limits, &frame->fixedScaleY, &frame->scanPercentY,
               &frame->scanPercentByteY);

  ComputeFrameArea(frame->originX, frame->originY, frame->width, frame->height, frame);
}

void ChooseScanResolution(FrameRecord* frame) {
  ChooseScanResolutionFrom(frame, gResolutionList, GetDeviceScaleLimits());
}

void ComputeFramePixelSizes(double x, double y, double width, double height, FrameRecord* frame, int32_t minX,
                            int32_t minY, int32_t maxX, int32_t maxY) {
  // Pixels per inch of each axis: resolution x scale percent x 0.01.
  double perInchX;
  double perInchY;
  int32_t factor = 1;
  if (DeviceHasFixedOutputResolution()) {
    perInchX = static_cast<double>(frame->outputResolution) * frame->outputScaleX;
    perInchY = static_cast<double>(frame->outputResolution) * frame->outputScaleY;
    if (IsHalvedFilterMode(frame->filterMode)) factor = 2;
  } else if (DeviceUsesIntegerScales()) {
    perInchX = static_cast<double>(frame->scanResolutionX) * frame->scanPercentX;
    perInchY = static_cast<double>(frame->scanResolutionY) * frame->scanPercentY;
  } else {
    perInchX = frame->scanResolutionX * FixToDouble(frame->fixedScaleX);
    perInchY = frame->scanResolutionY * FixToDouble(frame->fixedScaleY);
  }

  int32_t originX = factor * TruncRound(perInchX * x * kPixelPercent);
  int32_t originY = factor * TruncRound(perInchY * y * kPixelPercent);
  int32_t pixelWidth = factor * TruncRound(perInchX * width * kPixelPercent);
  int32_t pixelHeight = factor * TruncRound(perInchY * height * kPixelPercent);
  minX *= factor;
  minY *= factor;
  maxX *= factor;
  maxY *= factor;

  pixelWidth = Clamp(pixelWidth, minX, maxX);
  pixelHeight = Clamp(pixelHeight, minY, maxY);
  originX = Clamp(originX, 0, maxX - pixelWidth);
  originY = Clamp(originY, 0, maxY - pixelHeight);

  frame->scanOriginX = static_cast<uint32_t>(originX);
  frame->scanOriginY = static_cast<uint32_t>(originY);
  frame->scanPixelWidth = static_cast<uint16_t>(std::min(pixelWidth, 65535));
  frame->scanPixelHeight = static_cast<uint16_t>(std::min(pixelHeight, 65535));
}

ScanAreaInches ScanAreaInchesOf(int32_t widthPixels, int32_t heightPixels, const ResolutionList& list) {
  const int count = ListCount(list);
  const uint16_t largest = count > 0 ? list.values[count - 1] : 0;
  if (largest == 0) return ScanAreaInches{0.0, 0.0};
  // In floating point, so that frames reach the last fraction of an inch.
  return ScanAreaInches{static_cast<double>(widthPixels) / largest, static_cast<double>(heightPixels) / largest};
}

void ComputeScanAreaInches() {
  int32_t width = 0;
  int32_t height = 0;
  GetDeviceScanExtent(&width, &height);
  gScanAreaInches = ScanAreaInchesOf(width, height, gResolutionList);
}

void ApplyMarginsWithin(FrameRecord* frame, double left, double top, double right, double bottom,
                        const ScanAreaInches& area) {
  if (left + right < area.width) {
    frame->originX = left;
    frame->width = area.width - (left + right);
  }
  if (top + bottom < area.height) {
    frame->originY = top;
    frame->height = area.height - (top + bottom);
  }
}

void ApplyScanAreaMargins(FrameRecord* frame) {
  double left, top, right, bottom;
  if (GetDeviceMargins(&left, &top, &right, &bottom)) {
    ApplyMarginsWithin(frame, left, top, right, bottom, gScanAreaInches);
  }
}

int ImageModeSampleFactor(const FrameRecord* frame) {
  switch (frame->filterMode) {
    case 1: case 3: case 4: case 5: case 6: case 9: case 10: case 11: case 12:
      if (frame->sharpenFlag == 1) return 2;
      if (frame->sharpenFlag == 2) return 3;
      return 1;
    default:
      return 1;
  }
}

void SetupPrescanFrameFrom(FrameRecord* frame, int32_t width, int32_t height, const ResolutionList& list,
                           const DeviceScaleLimits& limits, bool integerScales, uint16_t magnification,
                           double scanAreaHeight) {
  const int count = ListCount(list);
  if (count == 0 || scanAreaHeight <= 0.0) return;
  const double need = double(height) * magnification / scanAreaHeight;
  const uint16_t resolution = PickResolution(list, count, need);
  double exact = need * 100.0 / resolution;
  int32_t percent = TruncRound(exact);
  exact = std::max<double>(limits.minPercent, std::min<double>(exact, limits.maxPercent));
  percent = Clamp(percent, limits.minPercent, limits.maxPercent);

  frame->scanPixelWidth = static_cast<uint16_t>(width);
  frame->scanPixelHeight = static_cast<uint16_t>(height);
  const double pct = integerScales ? percent : exact;
  frame->scanOriginX = static_cast<uint32_t>(TruncRound(resolution * frame->originX * pct * kPixelPercent));
  frame->scanOriginY = static_cast<uint32_t>(TruncRound(resolution * frame->originY * pct * kPixelPercent));
  frame->scanPercentX = frame->scanPercentY = static_cast<uint16_t>(percent);
  frame->scanPercentByteX = frame->scanPercentByteY = static_cast<uint8_t>(percent & 0xFF);
  frame->fixedScaleX = frame->fixedScaleY = DoubleToFix(exact);
  frame->scanResolutionX = frame->scanResolutionY = resolution;
}

void SetupPrescanFrame(FrameRecord* frame, int32_t width, int32_t height) {
  if (OrientationSwapAxes()) std::swap(width, height);
  SetupPrescanFrameFrom(frame, width, height, gResolutionList, GetDeviceScaleLimits(), DeviceUsesIntegerScales(),
                        kPreviewMagnification, gScanAreaInches.height);
}

ZoomGeometry ComputeZoomGeometry(const DRect& frame, int32_t width, int32_t height, double scanWidth,
                                 double scanHeight, const ResolutionList& list, const DeviceScaleLimits& limits,
                                 bool wholePercent) {
  ZoomGeometry zoom = {};
  const int count = ListCount(list);
  if (count == 0 || width <= 0 || height <= 0) return zoom;
  double areaWidth = std::min(frame.width * 1.2, scanWidth);
  double areaHeight = std::min(frame.height * 1.2, scanHeight);
  const double need = width > height ? width / areaWidth : height / areaHeight;
  zoom.step = PickResolution(list, count, need);
  zoom.percent = std::max<double>(limits.minPercent, std::min<double>(need * 100.0 / zoom.step, limits.maxPercent));
  zoom.wholePercent = Clamp(static_cast<int32_t>(zoom.percent), limits.minPercent, limits.maxPercent);
  auto fitArea = [&] {
    const double percent = wholePercent ? zoom.wholePercent : zoom.percent;
    areaWidth = width * 100.0 / (zoom.step * percent);
    areaHeight = height * 100.0 / (zoom.step * percent);
  };
  fitArea();
  // Wider or higher than the scan area: the scale that shows the whole of that side, rounded up.
  if (areaWidth > scanWidth || areaHeight > scanHeight) {
    const double side = areaWidth > scanWidth ? width / scanWidth : height / scanHeight;
    zoom.wholePercent = Clamp(static_cast<int32_t>(std::ceil(side * 100.0 / zoom.step)), limits.minPercent,
                              limits.maxPercent);
    zoom.percent = zoom.wholePercent;
    fitArea();
  }
  areaWidth = std::min(std::max(areaWidth, frame.width), scanWidth);
  areaHeight = std::min(std::max(areaHeight, frame.height), scanHeight);
  zoom.area.width = areaWidth;
  zoom.area.height = areaHeight;
  zoom.area.x = std::max(0.0, std::min(frame.x - (areaWidth - frame.width) / 2, scanWidth - areaWidth));
  zoom.area.y = std::max(0.0, std::min(frame.y - (areaHeight - frame.height) / 2, scanHeight - areaHeight));

  const double perInch = zoom.step * (wholePercent ? zoom.wholePercent : zoom.percent) / 100.0;
  zoom.left = TruncRound(perInch * zoom.area.x);
  zoom.top = TruncRound(perInch * zoom.area.y);
  if (zoom.left + width > perInch * scanWidth) zoom.left = static_cast<int32_t>(perInch * scanWidth - width);
  if (zoom.top + height > perInch * scanHeight) zoom.top = static_cast<int32_t>(perInch * scanHeight - height);
  return zoom;
}

void ComputePreviewGeometry(const DRect& frame, int32_t width, int32_t height, FrameRecord* prescanFrame) {
  if (OrientationSwapAxes()) std::swap(width, height);
  const ZoomGeometry zoom = ComputeZoomGeometry(frame, width, height, gScanAreaInches.width, gScanAreaInches.height,
                                                gResolutionList, GetDeviceScaleLimits(), DeviceUsesIntegerScales());
  if (zoom.step == 0) return;
  prescanFrame->originX = zoom.area.x;
  prescanFrame->originY = zoom.area.y;
  prescanFrame->width = zoom.area.width;
  prescanFrame->height = zoom.area.height;
  prescanFrame->scanPixelWidth = static_cast<uint16_t>(width);
  prescanFrame->scanPixelHeight = static_cast<uint16_t>(height);
  prescanFrame->scanOriginX = static_cast<uint32_t>(std::max(zoom.left, 0));
  prescanFrame->scanOriginY = static_cast<uint32_t>(std::max(zoom.top, 0));
  prescanFrame->scanPercentX = prescanFrame->scanPercentY = static_cast<uint16_t>(zoom.wholePercent);
  prescanFrame->scanPercentByteX = prescanFrame->scanPercentByteY = static_cast<uint8_t>(zoom.wholePercent & 0xFF);
  prescanFrame->fixedScaleX = prescanFrame->fixedScaleY = DoubleToFix(zoom.percent);
  prescanFrame->scanResolutionX = prescanFrame->scanResolutionY = zoom.step;
}

PrescanCutOut CutOutOfPrescan(const DRect& area, const DRect& prescanArea, uint32_t W, uint32_t H, int32_t boxWidth,
                              int32_t boxHeight) {
  PrescanCutOut cut = {};
  if (prescanArea.width <= 0 || prescanArea.height <= 0 || boxWidth <= 0 || boxHeight <= 0) return cut;
  cut.left = TruncRound((area.x - prescanArea.x) * W / prescanArea.width);
  cut.top = TruncRound((area.y - prescanArea.y) * H / prescanArea.height);
  cut.right = TruncRound((area.x + area.width - prescanArea.x) * W / prescanArea.width);
  cut.bottom = TruncRound((area.y + area.height - prescanArea.y) * H / prescanArea.height);
  cut.stepX = double(cut.right - cut.left) / boxWidth;
  cut.stepY = double(cut.bottom - cut.top) / boxHeight;
  cut.zoomHint = cut.stepX < 1.0 || cut.stepY < 1.0 ? 1 : 2;
  return cut;
}
