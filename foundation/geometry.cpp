#include "foundation/geometry.h"

namespace {

bool FitsInt16(int32_t v) { return v >= INT16_MIN && v <= INT16_MAX; }

}  // namespace

void SetRect16(Rect16* r, int16_t top, int16_t left, int16_t bottom, int16_t right) {
  *r = Rect16{top, left, bottom, right};
}

bool Rect16ToRect(const Rect16& r, WinRect* out) {
  *out = WinRect{r.left, r.top, r.right, r.bottom};
  return true;
}

bool RectToRect16(const WinRect& r, Rect16* out) {
  *out = Rect16{static_cast<int16_t>(r.top), static_cast<int16_t>(r.left), static_cast<int16_t>(r.bottom),
                static_cast<int16_t>(r.right)};
  return FitsInt16(r.top) && FitsInt16(r.left) && FitsInt16(r.bottom) && FitsInt16(r.right);
}

bool Rect16Intersects(const Rect16& a, const Rect16& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ShrinkRect16(Rect16* r, int16_t dx, int16_t dy) {
  r->left = static_cast<int16_t>(r->left + dx);
  r->right = static_cast<int16_t>(r->right - dx);
  r->top = static_cast<int16_t>(r->top + dy);
  r->bottom = static_cast<int16_t>(r->bottom - dy);
}

WinRect* SetRectTlbr(WinRect* r, int32_t top, int32_t left, int32_t bottom, int32_t right) {
  *r = WinRect{left, top, right, bottom};
  return r;
}

void ClampPointToRect(WinPoint* point, const WinRect& r) {
  if (point->x >= r.right) point->x = r.right - 1;
  if (point->x < r.left) point->x = r.left;
  if (point->y >= r.bottom) point->y = r.bottom - 1;
  if (point->y < r.top) point->y = r.top;
}

void MoveRectInside(WinRect* r, const WinRect& bounds) {
  int32_t shift = 0;
  if (r->right > bounds.right) shift = bounds.right - r->right;
  r->left += shift, r->right += shift;
  shift = r->left < bounds.left ? bounds.left - r->left : 0;
  r->left += shift, r->right += shift;
  shift = r->bottom > bounds.bottom ? bounds.bottom - r->bottom : 0;
  r->top += shift, r->bottom += shift;
  shift = r->top < bounds.top ? bounds.top - r->top : 0;
  r->top += shift, r->bottom += shift;
}

bool IsRectInside(const WinRect& a, const WinRect& b) {
  return a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
}

bool IsDRectInside(const DRect& a, const DRect& b) {
  return a.x >= b.x && a.y >= b.y && b.x + b.width >= a.x + a.width && b.y + b.height >= a.y + a.height;
}

void GetRectCenter(const WinRect& r, WinPoint* center) {
  center->x = r.left + RectWidth(r) / 2;
  center->y = r.top + RectHeight(r) / 2;
}

void CenterRectOn(WinRect* a, const WinRect& b) {
  WinPoint from, to;
  GetRectCenter(*a, &from);
  GetRectCenter(b, &to);
  a->left += to.x - from.x, a->right += to.x - from.x;
  a->top += to.y - from.y, a->bottom += to.y - from.y;
}

void ShrinkRect(WinRect* r, int16_t dx, int16_t dy) {
  r->left += dx, r->right -= dx;
  r->top += dy, r->bottom -= dy;
}
