#include "ui/units.h"

namespace {

constexpr double kUnitsPerInch[] = {1.0, 2.54, 6.0, 72.0};

}  // namespace

double UnitFactor(int unit, double pixelFactor) {
  if (unit == kUnitPixels) return pixelFactor;
  if (unit < kUnitInches || unit > kUnitPoints) return kUnitsPerInch[kUnitInches];
  return kUnitsPerInch[unit];
}

double ToUnits(double value, int unit, double pixelFactor) { return value * UnitFactor(unit, pixelFactor); }

double FromUnits(double value, int unit, double pixelFactor) {
  const double factor = UnitFactor(unit, pixelFactor);
  return factor == 0.0 ? 0.0 : value / factor;
}

bool ValidateBoolOption(int value, uint8_t* out) {
  if (value == 0 || value == 1) *out = static_cast<uint8_t>(value);
  return false;
}
