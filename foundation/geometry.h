// Rectangles: the 16-bit Rect16 (top, left, bottom, right), the 32-bit
// WinRect laid out like the system's RECT (left, top, right, bottom), and the
// DRect of doubles (x, y, width, height).
#pragma once

#include <cstddef>
#include <cstdint>

struct Rect16 {
  int16_t top, left, bottom, right;
};
static_assert(sizeof(Rect16) == 8 && offsetof(Rect16, bottom) == 4, "top, left, bottom, right");

// The same bytes as the system's RECT and POINT.
struct WinRect {
  int32_t left, top, right, bottom;
};
struct WinPoint {
  int32_t x, y;
};
static_assert(sizeof(WinRect) == 16 && offsetof(WinRect, right) == 8, "RECT layout");
static_assert(sizeof(WinPoint) == 8, "POINT layout");

struct DRect {
  double x, y, width, height;
};

void SetRect16(Rect16* r, int16_t top, int16_t left, int16_t bottom, int16_t right);
inline int16_t Rect16Width(const Rect16& r) { return static_cast<int16_t>(r.right - r.left); }
inline int16_t Rect16Height(const Rect16& r) { return static_cast<int16_t>(r.bottom - r.top); }
bool Rect16ToRect(const Rect16& r, WinRect* out);
// Copies the low 16 bits of each value; true only when all four fit a signed 16-bit value.
bool RectToRect16(const WinRect& r, Rect16* out);
bool Rect16Intersects(const Rect16& a, const Rect16& b);
void ShrinkRect16(Rect16* r, int16_t dx, int16_t dy);

WinRect* SetRectTlbr(WinRect* r, int32_t top, int32_t left, int32_t bottom, int32_t right);
inline int32_t RectWidth(const WinRect& r) { return r.right - r.left; }
inline int32_t RectHeight(const WinRect& r) { return r.bottom - r.top; }
// x into [left, right - 1], y into [top, bottom - 1].
void ClampPointToRect(WinPoint* point, const WinRect& r);
// Shifts r into the bounds: right, then left, then bottom, then top edge, so
// that the left and top edges win when r is larger than the bounds.
void MoveRectInside(WinRect* r, const WinRect& bounds);
// a within b; edges may touch.
bool IsRectInside(const WinRect& a, const WinRect& b);
bool IsDRectInside(const DRect& a, const DRect& b);
void GetRectCenter(const WinRect& r, WinPoint* center);
// Shifts a so that its centre lies on b's centre.
void CenterRectOn(WinRect* a, const WinRect& b);
void ShrinkRect(WinRect* r, int16_t dx, int16_t dy);
inline bool PointsEqual(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { return x1 == x2 && y1 == y2; }
