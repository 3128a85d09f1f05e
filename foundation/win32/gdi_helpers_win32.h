// Small Win32 helpers of the foundation: the system's RECT and POINT seen as
// the platform-neutral WinRect and WinPoint, bitmap resources and DIB sections.
#pragma once

#include <windows.h>

#include "foundation/geometry.h"

static_assert(sizeof(RECT) == sizeof(WinRect) && offsetof(RECT, right) == offsetof(WinRect, right), "same layout");
static_assert(sizeof(POINT) == sizeof(WinPoint) && offsetof(POINT, y) == offsetof(WinPoint, y), "same layout");

inline RECT* AsRECT(WinRect* r) { return reinterpret_cast<RECT*>(r); }
inline const RECT* AsRECT(const WinRect* r) { return reinterpret_cast<const RECT*>(r); }
inline WinRect* AsWinRect(RECT* r) { return reinterpret_cast<WinRect*>(r); }
inline const WinRect* AsWinRect(const RECT* r) { return reinterpret_cast<const WinRect*>(r); }
inline POINT* AsPOINT(WinPoint* p) { return reinterpret_cast<POINT*>(p); }
inline WinPoint* AsWinPoint(POINT* p) { return reinterpret_cast<WinPoint*>(p); }

// The module's bitmap resource loaded as a DIB section; null when missing.
HBITMAP LoadBitmapResource(UINT id);
// The module's bitmap resource combined onto the DC by the raster operation
// with its left-top corner at (x, y); nothing when it is missing.
void BlitBitmapResource(HDC dc, UINT id, int x, int y, DWORD rop);
// A top-down DIB section of the rectangle's size at the bit count, 7874
// pixels per metre; false when it cannot be made.
bool CreateDibSectionForRect(HDC dc, const RECT& rect, HBITMAP* bitmap, void** pixels, WORD bitCount);
