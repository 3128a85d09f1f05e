// The brightest and darkest points of the frame's preview area.
#include <gtest/gtest.h>

#include "ui/brightness_extremes.h"

namespace {

// A 6 x 5 grey preview; the values below are painted over it.
struct Preview {
  Preview() : dib(CreateGlobalDib(5, 6, 32, true)) { FillGlobalDib(dib, MakeColorRef(100, 100, 100)); }
  ~Preview() { FreeGlobalDib(dib); }
  void Set(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
    uint8_t* p = GlobalDibBits(dib) + y * GlobalDibStride(dib) + x * 4;
    p[0] = b;
    p[1] = g;
    p[2] = r;
  }
  GlobalDib dib;
};

TEST(BrightnessExtremes, SearchesInsideTheFrameShrunkByOnePixel) {
  Preview preview;
  preview.Set(0, 0, 255, 255, 255);  // on the frame's edge: left out
  preview.Set(2, 1, 200, 10, 10);    // sum 220
  preview.Set(3, 3, 90, 90, 100);    // sum 280
  preview.Set(4, 2, 250, 250, 0);    // sum 500
  preview.Set(1, 3, 255, 250, 0);    // sum 505: the brightest
  preview.Set(5, 4, 0, 0, 0);        // on the right edge: left out
  const WinRect frame = {0, 0, 6, 5};
  const struct {
    bool brightest;
    WinPoint point;
  } cases[] = {{true, {1, 3}}, {false, {2, 1}}};
  for (const auto& c : cases) {
    WinPoint point = {-1, -1};
    ASSERT_TRUE(FindBrightnessExtreme(preview.dib, frame, c.brightest, &point)) << c.brightest;
    EXPECT_EQ(point.x, c.point.x) << c.brightest;
    EXPECT_EQ(point.y, c.point.y) << c.brightest;
  }
}

TEST(BrightnessExtremes, EqualSumsGiveTheLastInRowOrderAndEmptyAreasNone) {
  Preview preview;
  WinPoint point = {-1, -1};
  ASSERT_TRUE(FindBrightnessExtreme(preview.dib, WinRect{0, 0, 6, 5}, true, &point));
  EXPECT_EQ(point.x, 4);
  EXPECT_EQ(point.y, 3);
  EXPECT_FALSE(FindBrightnessExtreme(preview.dib, WinRect{1, 1, 4, 3}, true, &point)) << "two rows: nothing inside";
  EXPECT_FALSE(FindBrightnessExtreme(preview.dib, WinRect{10, 10, 20, 20}, true, &point)) << "outside the preview";
  EXPECT_FALSE(FindBrightnessExtreme(nullptr, WinRect{0, 0, 6, 5}, true, &point));
}

TEST(BrightnessExtremes, UpperHalfOfTheButtonIsTheBrightest) {
  const WinRect button = {17, 157, 30, 170};
  EXPECT_TRUE(BrightestAtCursor(button, 157));
  EXPECT_TRUE(BrightestAtCursor(button, 162));
  EXPECT_FALSE(BrightestAtCursor(button, 163));
  EXPECT_FALSE(BrightestAtCursor(button, 169));
}

}  // namespace
