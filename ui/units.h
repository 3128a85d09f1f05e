// Size units of the user interface and the conversion of inches to and from them.
#pragma once

#include <cstdint>

enum SizeUnit : int {
  kUnitInches = 0,
  kUnitCentimetres = 1,
  kUnitPicas = 2,
  kUnitPoints = 3,
  kUnitPixels = 4,
};

// Units per inch; pixels take the caller's factor (the frame's output
// resolution). An unknown unit counts as inches.
double UnitFactor(int unit, double pixelFactor);
double ToUnits(double value, int unit, double pixelFactor);
// Inches from the unit; 0 when the factor is 0.
double FromUnits(double value, int unit, double pixelFactor);

// Stores the value when it is 0 or 1 and leaves the byte otherwise; the
// result is always false (no error to report).
bool ValidateBoolOption(int value, uint8_t* out);
