#include "ui/densitometer_sample.h"

#include "foundation/global_dib.h"
#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"
#include "session/preview_store.h"

DensitometerSample gDensitometer = {};

namespace {

void TakeColour(uint8_t out[3], ColorRef c) {
  out[0] = RedOf(c);
  out[1] = GreenOf(c);
  out[2] = BlueOf(c);
}

}  // namespace

bool SampleDensitometerAtPreviewPoint(WinPoint point) {
  if (!gPreviewDib || !gPreviewBaseDib) return false;
  WinRect image;
  GetGlobalDibRect(&image, gPreviewBaseDib);
  const PixelRect bounds{image.left, image.top, image.right, image.bottom};
  PixelPoint p{point.x, point.y};
  MapPointFromPreview(&p, &bounds, OrientationFlipX(), OrientationFlipY(), OrientationSwapAxes());
  if (p.x < image.left || p.x >= image.right || p.y < image.top || p.y >= image.bottom) return false;
  TakeColour(gDensitometer.shown, AverageColorAroundPoint(gPreviewDib, p.x, p.y, gDensitometer.radius));
  TakeColour(gDensitometer.base, AverageColorAroundPoint(gPreviewBaseDib, p.x, p.y, gDensitometer.radius));
  gDensitometer.x = p.x;
  gDensitometer.y = p.y;
  gDensitometer.baseRect = image;
  return true;
}
