#include "frames/orientation/orientation_maps.h"

namespace {

int32_t Width(const PixelRect& r) { return r.right - r.left; }
int32_t Height(const PixelRect& r) { return r.bottom - r.top; }

void FlipX(PixelRect* r, const PixelRect& b) {
  const int32_t w = Width(*r);
  r->left = b.left + b.right - r->right;
  r->right = r->left + w;
}

void FlipY(PixelRect* r, const PixelRect& b) {
  const int32_t h = Height(*r);
  r->top = b.top + b.bottom - r->bottom;
  r->bottom = r->top + h;
}

// Clockwise: the image's bottom edge becomes the preview's left edge.
void TurnClockwise(PixelRect* r, const PixelRect& b) {
  const int32_t w = Width(*r);
  const int32_t h = Height(*r);
  const int32_t left = b.left + b.bottom - r->bottom;
  const int32_t top = b.top + (r->left - b.left);
  *r = PixelRect{left, top, left + h, top + w};
}

// The inverse works in the turned bounds.
void TurnCounterClockwise(PixelRect* r, const PixelRect& b) {
  PixelRect turned = b;
  SwapRectExtent(&turned);
  const int32_t w = Width(*r);
  const int32_t h = Height(*r);
  const int32_t left = turned.left + (r->top - turned.top);
  const int32_t top = turned.top + turned.right - r->right;
  *r = PixelRect{left, top, left + h, top + w};
}

PixelRect UnitRectAt(const PixelPoint& p) { return PixelRect{p.x, p.y, p.x + 1, p.y + 1}; }

}  // namespace

void SwapRectExtent(PixelRect* r) {
  const int32_t w = Width(*r);
  const int32_t h = Height(*r);
  r->right = r->left + h;
  r->bottom = r->top + w;
}

void MapRectToPreview(PixelRect* r, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn) {
  if (flipX) FlipX(r, *bounds);
  if (flipY) FlipY(r, *bounds);
  if (quarterTurn) TurnClockwise(r, *bounds);
}

void MapRectFromPreview(PixelRect* r, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn) {
  if (quarterTurn) TurnCounterClockwise(r, *bounds);
  if (flipY) FlipY(r, *bounds);
  if (flipX) FlipX(r, *bounds);
}

void MapPointToPreview(PixelPoint* p, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn) {
  PixelRect r = UnitRectAt(*p);
  MapRectToPreview(&r, bounds, flipX, flipY, quarterTurn);
  *p = PixelPoint{r.left, r.top};
}

void MapPointFromPreview(PixelPoint* p, const PixelRect* bounds, uint8_t flipX, uint8_t flipY, uint8_t quarterTurn) {
  PixelRect r = UnitRectAt(*p);
  MapRectFromPreview(&r, bounds, flipX, flipY, quarterTurn);
  *p = PixelPoint{r.left, r.top};
}
