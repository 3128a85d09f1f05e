#include "ui/marked_points.h"

#include <utility>

#include "foundation/round.h"
#include "foundation/system.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "tone/fixed_pipette_window.h"
#include "ui/brightness_extremes.h"
#include "ui/frame_region_refresh.h"
#include "ui/preview_geometry.h"

namespace {

// The preview image's size: the control's client size, turned with the image.
void PreviewImageSize(double* width, double* height) {
  *width = gPreviewClientRect.right - gPreviewClientRect.left;
  *height = gPreviewClientRect.bottom - gPreviewClientRect.top;
  if (OrientationSwapAxes()) std::swap(*width, *height);
}

// What the preview shows, in inches.
DRect ShownArea() {
  return gPreviewZoomed ? gZoomBox : DRect{0.0, 0.0, gScanAreaInches.width, gScanAreaInches.height};
}

template <typename Convert>
void ForPoints(uint16_t index, Convert convert) {
  for (int i = 0; i < kMarkedPointCount; ++i)
    if (index == kAllMarkedPoints || index == i) convert(gMarkedPoints[i]);
}

}  // namespace

void MarkedPointsToPreview(uint16_t index) {
  double width, height;
  PreviewImageSize(&width, &height);
  const DRect area = ShownArea();
  if (area.width <= 0.0 || area.height <= 0.0) return;
  ForPoints(index, [&](MarkedPoint& p) {
    p.px = TruncRound((p.x - area.x) / area.width * width);
    p.py = TruncRound((p.y - area.y) / area.height * height);
  });
}

void MarkedPointsFromPreview(uint16_t index) {
  double width, height;
  PreviewImageSize(&width, &height);
  if (width <= 0.0 || height <= 0.0) return;
  const DRect area = ShownArea();
  ForPoints(index, [&](MarkedPoint& p) {
    p.x = p.px * area.width / width + area.x;
    p.y = p.py * area.height / height + area.y;
  });
}

int FirstFreeMarkedPoint() {
  for (int i = 0; i < kMarkedPointCount; ++i)
    if (!gMarkedPoints[i].set) return i;
  return -1;
}

void PlaceExtremeFixedPoint(bool brightest) {
  const int slot = FirstFreeMarkedPoint();
  if (!gPreviewDib || !gCurrentFrame || slot < 0) {
    PlayBeep(0);
    return;
  }
  const Rect16 frame = FrameImageRect(*gCurrentFrame);
  WinPoint at;
  if (!FindBrightnessExtreme(gPreviewDib, WinRect{frame.left, frame.top, frame.right, frame.bottom}, brightest, &at))
    return;
  MarkedPoint& point = gMarkedPoints[slot];
  point.set = true;
  point.px = at.x;
  point.py = at.y;
  MarkedPointsFromPreview(static_cast<uint16_t>(slot));
  UpdateFixedPipetteWindow();
}
