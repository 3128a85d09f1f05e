#include "ui/preview_geometry.h"

#include <utility>

#include "foundation/round.h"
#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"

WinRect gPreviewClientRect = {};
double gPreviewExtentWidth = 0.0;
double gPreviewExtentHeight = 0.0;
DRect gZoomBox = {};

namespace {

int16_t Round16(double v) { return static_cast<int16_t>(TruncRound(v)); }

// The preview's size in the image's axes.
void PreviewSize(const Rect16* area, double* width, double* height) {
  if (area) {
    *width = Rect16Width(*area);
    *height = Rect16Height(*area);
  } else {
    *width = RectWidth(gPreviewClientRect);
    *height = RectHeight(gPreviewClientRect);
  }
  if (OrientationSwapAxes()) std::swap(*width, *height);
}

Rect16 ToPreview(double x, double y, double width, double height, double W, double H, bool zoomed) {
  Rect16 r;
  if (zoomed) {
    r.top = Round16((y - gZoomBox.y) * H / gZoomBox.height);
    r.left = Round16((x - gZoomBox.x) * W / gZoomBox.width);
    r.bottom = Round16(height / gZoomBox.height * H + r.top);
    r.right = Round16(width / gZoomBox.width * W + r.left);
  } else {
    r.top = Round16(H * y / gPreviewExtentHeight);
    r.left = Round16(W * x / gPreviewExtentWidth);
    r.bottom = Round16(H * height / gPreviewExtentHeight + r.top);
    r.right = Round16(W * width / gPreviewExtentWidth + r.left);
  }
  return r;
}

// Through the orientation with the bounds in the image's axes.
Rect16 MapPacked(Rect16 r, double W, double H, bool toPreview) {
  PixelRect p{r.left, r.top, r.right, r.bottom};
  const PixelRect bounds{0, 0, static_cast<int32_t>(W), static_cast<int32_t>(H)};
  if (toPreview)
    MapRectToPreview(&p, &bounds, OrientationFlipX(), OrientationFlipY(), OrientationSwapAxes());
  else
    MapRectFromPreview(&p, &bounds, OrientationFlipX(), OrientationFlipY(), OrientationSwapAxes());
  SetRect16(&r, static_cast<int16_t>(p.top), static_cast<int16_t>(p.left), static_cast<int16_t>(p.bottom),
            static_cast<int16_t>(p.right));
  return r;
}

// Preview pixels (image axes) into x, y, width, height in inches.
double* ToInches(double out[4], const Rect16& rect, double W, double H, bool zoomed) {
  const double extentW = zoomed ? gZoomBox.width : gPreviewExtentWidth;
  const double extentH = zoomed ? gZoomBox.height : gPreviewExtentHeight;
  out[0] = rect.left * extentW / W + (zoomed ? gZoomBox.x : 0.0);
  out[1] = rect.top * extentH / H + (zoomed ? gZoomBox.y : 0.0);
  out[2] = Rect16Width(rect) * extentW / W;
  out[3] = Rect16Height(rect) * extentH / H;
  return out;
}

}  // namespace

Rect16 FrameToPreviewPacked(double x, double y, double width, double height) {
  return ToPreview(x, y, width, height, RectWidth(gPreviewClientRect), RectHeight(gPreviewClientRect), gPreviewZoomed);
}

Rect16 FrameToPreviewRect(double x, double y, double width, double height, bool orient, const Rect16* area) {
  double W, H;
  PreviewSize(area, &W, &H);
  const Rect16 r = ToPreview(x, y, width, height, W, H, gPreviewZoomed);
  return orient ? MapPacked(r, W, H, true) : r;
}

double* PreviewRectToFrame(double out[4], Rect16 rect, bool orient) {
  double W, H;
  PreviewSize(nullptr, &W, &H);
  if (orient) rect = MapPacked(rect, W, H, false);
  return ToInches(out, rect, W, H, gPreviewZoomed);
}

WinRect UnzoomedRectToZoomed(const WinRect& rect) {
  if (!gPreviewZoomed) return rect;
  double W, H;
  PreviewSize(nullptr, &W, &H);
  Rect16 packed;
  RectToRect16(rect, &packed);
  double inches[4];
  ToInches(inches, packed, W, H, false);
  const Rect16 r = ToPreview(inches[0], inches[1], inches[2], inches[3], W, H, true);
  return WinRect{r.left, r.top, r.right, r.bottom};
}
