#include "foundation/dialogs/image_preview_rules.h"

#include <cstdio>
#include <cstring>

#include "foundation/decimal.h"
#include "foundation/pstring.h"
#include "foundation/round.h"

bool FitAspectRect(int32_t width, int32_t height, const WinRect& box, WinRect* fitted) {
  int32_t boxWidth = RectWidth(box);
  int32_t boxHeight = RectHeight(box);
  if (width <= 0 || height <= 0 || boxHeight <= 0) return false;
  double ratio = static_cast<double>(width) / height;
  double boxRatio = static_cast<double>(boxWidth) / boxHeight;
  int32_t fittedWidth = boxWidth;
  int32_t fittedHeight = boxHeight;
  if (ratio <= boxRatio) {
    fittedWidth = static_cast<int32_t>(boxHeight * ratio);
  } else {
    fittedHeight = static_cast<int32_t>(boxWidth / ratio);
  }
  *fitted = WinRect{box.left, box.top, box.left + fittedWidth, box.top + fittedHeight};
  CenterRectOn(fitted, box);
  return true;
}

void FormatFileSizeText(uint32_t size, char* text) {
  constexpr uint32_t kMegabyte = 1048576;
  if (size >= kMegabyte) {
    PString number;
    FormatDecimal(number, static_cast<double>(size) / kMegabyte, 1);
    PStrToText(number, text);
    std::strcat(text, "M");
  } else {
    std::snprintf(text, 32, "%luK", static_cast<unsigned long>(TruncRound(size / 1024.0)));
  }
}
