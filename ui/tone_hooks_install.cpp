#include "ui/tone_hooks_install.h"

#include <utility>

#include "foundation/round.h"
#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "tone/tone_window_hooks.h"
#include "ui/preview_geometry.h"
#include "ui/preview_sampling.h"

namespace {

bool ZoomBox(DRect* box) {
  if (gPreviewZoomed) *box = gZoomBox;
  return gPreviewZoomed;
}

// Fractions of the preview in the image's axes, then through the orientation into the control.
WinPoint PreviewPoint(double x, double y, bool orient) {
  int32_t width = RectWidth(gPreviewClientRect), height = RectHeight(gPreviewClientRect);
  if (OrientationSwapAxes()) std::swap(width, height);
  PixelPoint p{TruncRound(x * width), TruncRound(y * height)};
  const PixelRect bounds{0, 0, width, height};
  if (orient) MapPointToPreview(&p, &bounds, OrientationFlipX(), OrientationFlipY(), OrientationSwapAxes());
  return WinPoint{p.x, p.y};
}

}  // namespace

void InstallUserInterfaceToneHooks() {
  ToneWindowHooks hooks;
  hooks.previewImage = [](bool corrected) -> const DibHeader* { return corrected ? gPreviewDib : gPreviewBaseDib; };
  hooks.previewClientRect = [](bool) { return gPreviewClientRect; };
  hooks.frameToPreviewRect = [](const FrameRecord& frame, const WinRect& area) {
    const Rect16 area16 = {static_cast<int16_t>(area.top), static_cast<int16_t>(area.left),
                           static_cast<int16_t>(area.bottom), static_cast<int16_t>(area.right)};
    const Rect16 r = FrameToPreviewRect(frame.originX, frame.originY, frame.width, frame.height, true, &area16);
    return WinRect{r.left, r.top, r.right, r.bottom};
  };
  hooks.zoomBox = ZoomBox;
  hooks.previewPoint = PreviewPoint;
  hooks.fillHistogramGaps = FillHistogramGaps;
  hooks.sampleFramePreview = SampleFramePreview;
  hooks.livePreview = [] { return GetDefault(gDefaults, kDefaultLivePreview) != 0; };
  InstallToneWindowHooks(hooks);
}
