#include "frames/frame_hit_test.h"

namespace {

// The point lies in the rectangle around (x, y) inflated by (dx, dy): left and top inclusive.
bool Near(WinPoint p, int32_t x, int32_t y, int32_t dx, int32_t dy) {
  return p.x >= x - dx && p.x < x + dx && p.y >= y - dy && p.y < y + dy;
}

}  // namespace

int HitTestFrameEdge(WinPoint p, const WinRect& r, bool sizeLocks) {
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (sizeLocks) {
    // Each corner along its two arms: a quarter of the side from the corner.
    const int32_t qw = w / 4, qh = h / 4;
    struct Arms {
      int handle;
      int32_t x, y, sx, sy;
    } corners[] = {{1, r.left, r.top, 1, 1}, {7, r.left, r.bottom, 1, -1}, {3, r.right, r.top, -1, 1},
                   {5, r.right, r.bottom, -1, -1}};
    for (const Arms& c : corners)
      if (Near(p, c.x + c.sx * qw, c.y, qw + 4, 4) || Near(p, c.x, c.y + c.sy * qh, 4, qh + 4)) return c.handle;
  }
  const struct {
    int handle;
    int32_t x, y;
  } corners[] = {{1, r.left, r.top}, {3, r.right, r.top}, {7, r.left, r.bottom}, {5, r.right, r.bottom}};
  for (const auto& c : corners)
    if (Near(p, c.x, c.y, 4, 4)) return c.handle;
  const int32_t cx = r.left + w / 2, cy = r.top + h / 2;
  if (Near(p, cx, r.top, w / 2 + 4, 4)) return 2;
  if (Near(p, cx, r.bottom, w / 2 + 4, 4)) return 6;
  if (Near(p, r.right, cy, 4, h / 2 + 4)) return 4;
  if (Near(p, r.left, cy, 4, h / 2 + 4)) return 8;
  return 0;
}
