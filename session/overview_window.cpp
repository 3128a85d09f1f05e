#include "session/overview_window.h"

#include "foundation/round.h"

namespace {

bool NoOverviewWindow(WindowRef, OverviewParams*, OverviewResult* result) {
  result->reopen = 0;
  return false;
}

}  // namespace

OverviewWindowFunction gOverviewWindow = NoOverviewWindow;

CellRect FitThumbnailInCell(int32_t width, int32_t height) {
  const CellRect& area = kCellImageArea;
  int32_t areaWidth = area.right - area.left;
  int32_t areaHeight = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {area.left, area.top, area.left, area.top};
  double scale = static_cast<double>(areaWidth) / width;
  if (height * scale > areaHeight) scale = static_cast<double>(areaHeight) / height;
  int32_t fittedWidth = TruncRound(width * scale);
  int32_t fittedHeight = TruncRound(height * scale);
  int32_t left = area.left + (areaWidth - fittedWidth) / 2;
  int32_t top = area.top + (areaHeight - fittedHeight) / 2;
  return {left, top, left + fittedWidth, top + fittedHeight};
}
