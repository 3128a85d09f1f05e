// Keeps a frame's rectangle inside the scan area with a minimum size.
#pragma once

// The handle being dragged: corners 1 (top left), 3, 5, 7 and edges 2 (top),
// 4 (right), 6 (bottom), 8 (left), clockwise; 0 for none.
enum : int { kNoFrameHandle = 0 };

// Limits the rectangle (inches) to the scan area (gScanAreaInches): at least
// 1% of the area in each direction, origin not below 0, not beyond the
// area. While a left or top handle is dragged the opposite side stays put.
// True when anything moved by more than 0.000001.
bool LimitFrameRect(double* x, double* y, double* width, double* height, int handle);
