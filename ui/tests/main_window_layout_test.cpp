// The main window's size rules: the smallest preview and the sizing drag.
#include <gtest/gtest.h>

#include "ui/main_window_layout.h"

namespace {

TEST(MinimumPreviewSize, FromTheSmallestScaleThePanelAndTheRatio) {
  const struct {
    int32_t extentWidth, extentHeight, panelHeight;
    int32_t width, height;  // the caller's values
    int32_t wantedWidth, wantedHeight;
  } cases[] = {
      // 53 x 37 from 1 %; 37 / ratio - 2 = 53.5 exceeds 53, so the width follows the height.
      {4800, 3200, 0, 10, 10, 56, 37},
      {4800, 3200, 0, 100, 20, 100, 37},
      // The panel's height raises the height, and the width follows.
      {4800, 3200, 200, 10, 10, 300, 200},
      // Never below 10.
      {100, 100, 0, 0, 0, 10, 10},
  };
  for (const auto& c : cases) {
    MinimumPreviewInputs in = {c.extentWidth, c.extentHeight, 1, 1, 1, c.panelHeight,
                               static_cast<double>(c.extentHeight) / c.extentWidth};
    int32_t width = c.width, height = c.height;
    MinimumPreviewSize(&width, &height, in);
    EXPECT_EQ(width, c.wantedWidth) << c.extentWidth << " panel " << c.panelHeight;
    EXPECT_EQ(height, c.wantedHeight) << c.extentWidth << " panel " << c.panelHeight;
  }
}

TEST(MainWindowSizing, PreviewKeepsItsRatioWithinMinimumAndWorkArea) {
  const MainWindowSizing sizing = {0.5, 20, 10, 100, 50, WinRect{0, 0, 1000, 800}};
  const struct {
    const char* what;
    int edge;
    WinRect dragged, wanted;
  } cases[] = {
      {"right edge: the width leads", 2, {10, 10, 410, 310}, {10, 10, 410, 210}},
      {"bottom edge: the height leads", 6, {10, 10, 410, 310}, {10, 10, 610, 310}},
      {"left edge: the right edge stays", 1, {50, 10, 410, 310}, {50, 10, 410, 190}},
      {"top-left corner: bottom-right stays, pulled back inside", 4, {50, 60, 410, 310}, {0, 60, 500, 310}},
      {"too large: both sides shrink to the work area", 0, {0, 0, 2100, 1100}, {0, 0, 1000, 500}},
      {"too small: raised to the minimum", 2, {0, 0, 105, 55}, {0, 0, 120, 60}},
      {"beyond the work area: moved back", 0, {900, 700, 1300, 900}, {600, 600, 1000, 800}},
  };
  for (const auto& c : cases) {
    const WinRect r = LimitMainWindowRect(c.dragged, c.edge, sizing);
    EXPECT_EQ(r.left, c.wanted.left) << c.what;
    EXPECT_EQ(r.top, c.wanted.top) << c.what;
    EXPECT_EQ(r.right, c.wanted.right) << c.what;
    EXPECT_EQ(r.bottom, c.wanted.bottom) << c.what;
  }
}

TEST(MainWindowSizing, RectanglesAreKeptInTheArea) {
  const struct {
    double x, y, w, h;
    double wantedX, wantedY, wantedW, wantedH;
  } cases[] = {
      {7, 5, 2, 2, 6, 4, 2, 2},    // pushed out: moved back, the size kept
      {1, 1, 12, 2, 0, 1, 8, 2},   // wider than the area
      {1, 1, 2, 2, 1, 1, 2, 2},    // inside: unchanged
  };
  for (const auto& c : cases) {
    double x = c.x, y = c.y, w = c.w, h = c.h;
    KeepRectInArea(&x, &y, &w, &h, 8.0, 6.0);
    EXPECT_DOUBLE_EQ(x, c.wantedX) << c.x << "," << c.y;
    EXPECT_DOUBLE_EQ(y, c.wantedY) << c.x << "," << c.y;
    EXPECT_DOUBLE_EQ(w, c.wantedW) << c.x << "," << c.y;
    EXPECT_DOUBLE_EQ(h, c.wantedH) << c.x << "," << c.y;
  }
}

}  // namespace
