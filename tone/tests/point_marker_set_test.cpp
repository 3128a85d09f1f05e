// The markers of a frame's fixed measuring points: their places from the
// curve (into the zoomed part while zoomed), from control pixels, their
// rectangles on the preview and the bitmap's half width.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/scripted_system.h"
#include "foundation/system.h"
#include "state/data_source_state.h"
#include "tone/point_marker_set.h"
#include "tone/tone_window_hooks.h"

namespace {

const uint16_t kIds[4] = {461, 462, 463, 464};

CurvePoint Point(double x, double y, double tone) {
  CurvePoint point;
  std::memset(&point, 0, sizeof point);
  point.x = x;
  point.y = y;
  for (int c = 0; c < 4; ++c) point.source[c] = point.target[c] = tone;
  return point;
}

// A bitmap resource as the module holds it: the info header, then the pixels.
std::vector<uint8_t> BitmapResource(int32_t width, int32_t height) {
  std::vector<uint8_t> bytes(40 + 4 * width * (height < 0 ? -height : height));
  const int32_t header[3] = {40, width, height};
  std::memcpy(bytes.data(), header, sizeof header);
  return bytes;
}

DRect gZoom;
bool gZoomed = false;

class PointMarkerSetTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 6.0};
    gZoomed = false;
    ToneWindowHooks hooks;
    hooks.zoomBox = [](DRect* box) {
      *box = gZoom;
      return gZoomed;
    };
    // A preview of 400 x 300; the orientation shown as a quarter turn of the 300 rows.
    hooks.previewPoint = [](double x, double y, bool orient) {
      const WinPoint p{static_cast<int32_t>(x * 400), static_cast<int32_t>(y * 300)};
      return orient ? WinPoint{299 - p.y, p.x} : p;
    };
    hooks.previewClientRect = [](bool) { return WinRect{10, 20, 410, 320}; };
    InstallToneWindowHooks(hooks);
  }
  void TearDown() override {
    InstallToneWindowHooks(ToneWindowHooks{});
    ResetDataSourceState();
  }
  ScopedScriptedSystem system;
};

TEST_F(PointMarkerSetTest, TheCurvesActivePointsBecomeTheFirstMarkers) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint a = Point(0.25, 0.5, 0.4), b = Point(0.75, 0.25, 0.6);
  ASSERT_TRUE(curve.SetCurvePoint(&a, 1));
  ASSERT_TRUE(curve.SetCurvePoint(&b, 3));
  PointMarkerSet markers(kIds, 4);
  ASSERT_EQ(markers.count(), 4);
  ASSERT_TRUE(markers.SetMarkersFromCurve(&curve));
  const struct {
    uint8_t kind;
    double x, y;
  } unzoomed[] = {{1, 0.25, 0.5}, {1, 0.75, 0.25}, {0, 0, 0}, {0, 0, 0}};
  for (int16_t i = 0; i < 4; ++i) {
    EXPECT_EQ(markers.marker(i)->kind, unzoomed[i].kind) << i;
    EXPECT_DOUBLE_EQ(markers.marker(i)->x, unzoomed[i].x) << i;
    EXPECT_DOUBLE_EQ(markers.marker(i)->y, unzoomed[i].y) << i;
  }
  // Zoomed into (1, 2) 4 x 2 inches: the point at 2 x 3 inches lies at (0.25, 0.5) of the zoomed part.
  gZoomed = true;
  gZoom = DRect{1.0, 2.0, 4.0, 2.0};
  ASSERT_TRUE(markers.SetMarkersFromCurve(&curve));
  EXPECT_DOUBLE_EQ(markers.marker(0)->x, 0.25);
  EXPECT_DOUBLE_EQ(markers.marker(0)->y, 0.5);
  EXPECT_DOUBLE_EQ(markers.marker(1)->x, 1.25);  // 6 inches: right of the zoomed part
  // Without a curve every marker goes.
  EXPECT_FALSE(markers.SetMarkersFromCurve(nullptr));
  for (int16_t i = 0; i < 4; ++i) EXPECT_EQ(markers.marker(i)->kind, 0) << i;
}

TEST_F(PointMarkerSetTest, MarkersFromControlPixelsAndTheirRectangles) {
  PointMarkerSet markers(kIds, 4);
  const uint8_t kinds[2] = {1, 2};
  const int32_t points[4] = {100, 150, 300, 30};
  EXPECT_FALSE(markers.SetMarkers(kinds, points, 5));
  EXPECT_FALSE(markers.SetMarkers(nullptr, points, 2));
  ASSERT_TRUE(markers.SetMarkers(kinds, points, 2));
  EXPECT_DOUBLE_EQ(markers.marker(0)->x, 0.25);
  EXPECT_DOUBLE_EQ(markers.marker(1)->y, 0.1);
  EXPECT_EQ(markers.marker(1)->kind, 2);
  const WinPoint size{15, 11};
  WinRect r;
  ASSERT_TRUE(markers.GetMarkerRect(0, false, &size, &r));
  EXPECT_EQ((std::vector<int32_t>{r.left, r.top, r.right, r.bottom}), (std::vector<int32_t>{93, 145, 108, 156}));
  ASSERT_TRUE(markers.GetMarkerRect(0, true, &size, &r));  // centred on (149, 100)
  EXPECT_EQ((std::vector<int32_t>{r.left, r.top, r.right, r.bottom}), (std::vector<int32_t>{142, 95, 157, 106}));
  EXPECT_FALSE(markers.GetMarkerRect(4, false, &size, &r));
  // The bitmap's own size when none is given.
  system->resources[{"#2", 461}] = BitmapResource(9, -7);
  ASSERT_TRUE(markers.GetMarkerRect(0, false, nullptr, &r));
  EXPECT_EQ((std::vector<int32_t>{r.left, r.top, r.right, r.bottom}), (std::vector<int32_t>{96, 147, 105, 154}));
  EXPECT_FALSE(markers.GetMarkerRect(1, false, nullptr, &r)) << "no bitmap 462";
}

TEST_F(PointMarkerSetTest, TheHalfWidthIsThatOfTheFirstBitmap) {
  PointMarkerSet markers(kIds, 4);
  EXPECT_EQ(markers.MarkerHalfWidth(), 1) << "no bitmap";
  system->resources[{"#2", 461}] = BitmapResource(15, 15);
  EXPECT_EQ(markers.MarkerHalfWidth(), 7);
  PointMarkerSet none(kIds, 0);
  EXPECT_EQ(none.count(), 0);
  EXPECT_EQ(none.MarkerHalfWidth(), 1);
  EXPECT_FALSE(none.SetMarkersFromCurve(nullptr));
}

}  // namespace
