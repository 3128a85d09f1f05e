#include "ui/brightness_extremes.h"

bool FindBrightnessExtreme(GlobalDib preview, const WinRect& frameArea, bool brightest, WinPoint* point) {
  const WinRect inner = {frameArea.left + 1, frameArea.top + 1, frameArea.right - 1, frameArea.bottom - 1};
  if (!preview || inner.left >= inner.right || inner.top >= inner.bottom) return false;
  const int sum = FindExtremeBrightness(preview, brightest, inner);
  ColorRef colour;
  return FindPixelWithBrightness(preview, sum, inner.left, inner.top, inner.right, inner.bottom, &colour, point,
                                 false);
}

bool BrightestAtCursor(const WinRect& button, int32_t cursorY) {
  return cursorY < button.top + (button.bottom - button.top) / 2;
}
