#include "ui/main_window_layout.h"

#include <algorithm>

#include "foundation/round.h"

namespace {

// Sizing edges of WM_SIZING.
enum : int { kLeft = 1, kRight = 2, kTop = 3, kTopLeft = 4, kTopRight = 5, kBottom = 6, kBottomLeft = 7 };

bool MovesLeftEdge(int edge) { return edge == kLeft || edge == kTopLeft || edge == kBottomLeft; }
bool MovesTopEdge(int edge) { return edge == kTop || edge == kTopLeft || edge == kTopRight; }

}  // namespace

void MinimumPreviewSize(int32_t* width, int32_t* height, const MinimumPreviewInputs& in) {
  const int64_t divisor = static_cast<int64_t>(in.factorB) * 100;
  int32_t w = static_cast<int32_t>(in.minPercent * int64_t{in.factorA} * in.extentWidth / divisor) + 5;
  int32_t h = static_cast<int32_t>(in.minPercent * int64_t{in.factorA} * in.extentHeight / divisor) + 5;
  w = std::max(w, 10);
  h = std::max(std::max(h, 10), in.panelHeight);
  if (in.ratio > 0) {
    if (w * in.ratio - 2 > h) h = TruncRound(w * in.ratio);
    if (h / in.ratio - 2 > w) w = TruncRound(h / in.ratio);
  }
  *width = std::max(*width, w);
  *height = std::max(*height, h);
}

WinRect LimitMainWindowRect(const WinRect& dragged, int edge, const MainWindowSizing& s) {
  const double ratio = s.ratio > 0 ? s.ratio : 1.0;
  int32_t w = dragged.right - dragged.left - s.extraWidth;
  int32_t h = dragged.bottom - dragged.top - s.extraHeight;
  const bool widthLeads = edge == kLeft || edge == kRight || ((edge != kTop && edge != kBottom) && w * ratio >= h);
  if (widthLeads) {
    h = TruncRound(w * ratio);
  } else {
    w = TruncRound(h / ratio);
  }
  if (w < s.minWidth || h < s.minHeight) {
    w = std::max(w, s.minWidth);
    h = TruncRound(w * ratio);
    if (h < s.minHeight) {
      h = s.minHeight;
      w = TruncRound(h / ratio);
    }
  }
  const int32_t maxWidth = s.work.right - s.work.left - s.extraWidth;
  const int32_t maxHeight = s.work.bottom - s.work.top - s.extraHeight;
  if (w > maxWidth) {
    w = maxWidth;
    h = TruncRound(w * ratio);
  }
  if (h > maxHeight) {
    h = maxHeight;
    w = TruncRound(h / ratio);
  }
  w = std::max(w, 1);
  h = std::max(h, 1);

  const int32_t width = w + s.extraWidth, height = h + s.extraHeight;
  WinRect r;
  r.left = MovesLeftEdge(edge) ? dragged.right - width : dragged.left;
  r.top = MovesTopEdge(edge) ? dragged.bottom - height : dragged.top;
  // Back inside the work area, the size kept.
  r.left = std::max(std::min(r.left, s.work.right - width), s.work.left);
  r.top = std::max(std::min(r.top, s.work.bottom - height), s.work.top);
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

void KeepRectInArea(double* x, double* y, double* width, double* height, double areaWidth, double areaHeight) {
  auto keep = [](double* origin, double* size, double area) {
    if (*size > area) *size = area;
    if (*origin + *size > area) *origin = area - *size;
  };
  keep(x, width, areaWidth);
  keep(y, height, areaHeight);
}
